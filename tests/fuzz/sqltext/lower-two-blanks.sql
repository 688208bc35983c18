  select * from PC
