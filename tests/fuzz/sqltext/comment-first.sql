-- note
SELECT 1