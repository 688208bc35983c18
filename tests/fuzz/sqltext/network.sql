UPDATE PC 
SET IP = :IP,
    Mac = :Mac,
    IP16 = :IP16
WHERE KEY = :KEY