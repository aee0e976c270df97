#include "engine/command_table.h"

#include "engine/commands.h"

namespace engine {
namespace {

/* The keywords in the order of testing, with the fields each command reads:
   Tn is field n as text, Nn field n as a number (or a flag reference "Fnn").

   keyword    fields                        effect                                   */
constexpr Command kCommands[] = {
    {U"CMST", cmd::CMST},  // N2 menu, T3 text       fill MenuTable from menu N2 on
    {U"CMSL", cmd::CMSL},  // N2 menu, N3 line       CaseEndLine := N3; show menu; go to its CASE
    {U"CASE", cmd::CASE},  // (N2 pick code)         CurLine := CaseEndLine
    {U"ENDCM", cmd::Nothing},  //                        nothing
    {U"DO", cmd::Nothing},     //                        nothing (loop marker)
    {U"DORT", cmd::Jump},      // N2 line                CurLine := N2
    {U"DOEX", cmd::Jump},      // N2 line                CurLine := N2
    {U"LOOP", cmd::Jump},      // N2 line                CurLine := N2
    {U"GOTO", cmd::Jump},      // N2 line                CurLine := N2
    {U"GOSUB", cmd::GOSUB},    // N2 line                ReturnLine := CurLine + 1; CurLine := N2
    {U"RET", cmd::RET},        //                        CurLine := ReturnLine
    {U"IF", cmd::IF},          // T2 condition, N3 line  if false: CurLine := N3
    {U"ELSE", cmd::Jump},      // N2 line                CurLine := N2
    {U"ENDIF", cmd::Nothing},  //                        nothing
    {U"EVA", cmd::IF},         // T2 condition, N3 line  same as IF
    {U"ENDEV", cmd::Nothing},  //                        nothing
    {U"FP", cmd::FP},          // N2 flag, N3 end line   show the table line the flag picks
    {U"ENDFP", cmd::Nothing},  //                        nothing
    {U"FJ", cmd::FJ},          // N2 flag, N3 last line  jump to N1 of the line the flag picks
    {U"ENDFJ", cmd::Nothing},  //                        nothing
    {U"INC", cmd::INC},        // N2 flag, N3 limit, T4  count up, wrap to 1 ("L") or stay
    {U"DEC", cmd::DEC},        // N2 flag                count down to 0
    {U"FGCL", cmd::FGCL},      // N2 first, N3 last      clear flags
    {U"MES", cmd::MES},        // T2 text                show the message
    {U"LET", cmd::LET},        // N2 flag, N3 value      flag := value
    {U"ADDCM", cmd::ADDCM},    // N2 menu, N3 entry, T4  MenuTable(N2, N3) := T4
    {U"DELCM", cmd::DELCM},    // N2 menu, N3 entry      MenuTable(N2, N3) := empty
    {U"CLR", cmd::FGCL},       // N2 first, N3 last      clear flags (same as FGCL)
    {U"GHG", cmd::GHG},        // T2 picture name        show the picture
    {U"ITMS", cmd::ITMS},      // N2 entry, T3 text      ItemMessages(N2) := T3
    {U"ITCG", cmd::ITCG},      // N2 entry, T3 text      ItemCgTexts(N2) := T3
    {U"SOUND", cmd::SOUND},    // T2 name, N3 flags      play the wave
    {U"LBHGA", cmd::LBHGA},    // N2 label, T3 text      caption := T3
    {U"LBHGV", cmd::LBHGV},    // N2 label, N3 value     caption := N3 in decimal
    {U"MUSPL", cmd::MUSPL},    // T2 name, N3 mode       background music
    {U"FADE", cmd::FADE},      // N2 mode                blinds (1) or negative flash (2)
    {U"EOF", cmd::End},        //                        end the program
    {U"EXIT", cmd::Exit},      //                        end the program
};

}  // namespace

const Command* findCommand(TextView keyword) {
  for (const Command& c : kCommands)
    if (keyword == c.keyword) return &c;
  return nullptr;
}

}  // namespace engine
