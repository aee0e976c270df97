*a
*a
GOTO,{b}
{oops
*bad name
