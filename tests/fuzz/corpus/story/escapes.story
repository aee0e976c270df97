*start
MES,{{brace} {start}
{}# not a comment
{}
*x
GOTO,{x}
