#pragma once
// The script commands, one function each, run by the interpreter loop through the
// command table. Tn and Nn are field n of the current line read as text and as a number.
#include "engine/interpreter.h"

namespace engine::cmd {

// Menus (command_menu in the window object shows them).
void CMST(Interpreter&);
void CMSL(Interpreter&);
void CASE(Interpreter&);
void ADDCM(Interpreter&);
void DELCM(Interpreter&);
// Flow control.
void Jump(Interpreter&);  // DORT, DOEX, LOOP, GOTO, ELSE
void GOSUB(Interpreter&);
void RET(Interpreter&);
void IF(Interpreter&);  // IF, EVA
void FP(Interpreter&);
void FJ(Interpreter&);
void Nothing(Interpreter&);  // ENDCM, DO, ENDIF, ENDEV, ENDFP, ENDFJ
void End(Interpreter&);      // EOF
void Exit(Interpreter&);     // EXIT
// Flags.
void INC(Interpreter&);
void DEC(Interpreter&);
void FGCL(Interpreter&);  // FGCL, CLR
void LET(Interpreter&);
// Messages, pictures, labels and sound.
void MES(Interpreter&);
void GHG(Interpreter&);
void ITMS(Interpreter&);
void ITCG(Interpreter&);
void SOUND(Interpreter&);
void LBHGA(Interpreter&);
void LBHGV(Interpreter&);
void MUSPL(Interpreter&);
void FADE(Interpreter&);

}  // namespace engine::cmd
