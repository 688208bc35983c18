SELECT 1; -- done
/* and */ ;