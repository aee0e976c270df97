#include "engine/command_table.h"

#include "engine/commands.h"

namespace engine {
namespace {

using K = FieldKind;
using W = FieldWhen;

/* The keywords in the order of testing, with the fields each command reads, in the
   order it reads them: Tn is field n as text, Nn field n as a number (or a flag
   reference "Fnn").

   keyword  fields                         effect
   CMST     N2 menu, T3 text               fill MenuTable from menu N2 on
   CMSL     N3 line, N2 menu               CaseEndLine := N3; show menu; go to its CASE
   CASE     (N2 pick code, by the search)  CurLine := CaseEndLine
   ENDCM                                   nothing
   DO                                      nothing (loop marker)
   DORT     N2 line                        CurLine := N2
   DOEX     N2 line                        CurLine := N2
   LOOP     N2 line                        CurLine := N2
   GOTO     N2 line                        CurLine := N2
   GOSUB    N2 line                        ReturnLine := CurLine + 1; CurLine := N2
   RET                                     CurLine := ReturnLine
   IF       T2 condition, N3 line          if false: CurLine := N3 (N3 read only then)
   ELSE     N2 line                        CurLine := N2
   ENDIF                                   nothing
   EVA      T2 condition, N3 line          same as IF
   ENDEV                                   nothing
   FP       N3 end line, N2 flag           show the table line the flag picks
   ENDFP                                   nothing
   FJ       N2 flag, N3 last line          jump to N1 of the line the flag picks
   ENDFJ                                   nothing
   INC      N2 flag, N3 limit, T4 mode     count up, wrap to 1 ("L") or stay (T4 at the limit)
   DEC      N2 flag                        count down to 0
   FGCL     N3 last, N2 first              clear flags
   MES      T2 text                        show the message
   LET      N3 value, N2 flag              flag := value
   ADDCM    T4 text, N2 menu, N3 entry     MenuTable(N2, N3) := T4
   DELCM    N2 menu, N3 entry              MenuTable(N2, N3) := empty
   CLR      N3 last, N2 first              clear flags (same as FGCL)
   GHG      T2 picture name                show the picture
   ITMS     T3 text, N2 entry              ItemMessages(N2) := T3
   ITCG     T3 text, N2 entry              ItemCgTexts(N2) := T3
   SOUND    T2 name, N3 flags              play the wave
   LBHGA    N2 label, T3 text              caption := T3
   LBHGV    N2 label, N3 value             caption := N3 in decimal
   MUSPL    T2 name, N3 mode               background music
   FADE     N2 mode                        blinds (1) or negative flash (2)
   EOF                                     end the program
   EXIT                                    end the program                                 */
// clang-format off
constexpr Command kCommands[] = {
    {U"CMST",  cmd::CMST,    {{{2, K::Menu}, {3, K::MenuText}}}},
    {U"CMSL",  cmd::CMSL,    {{{3, K::Line}, {2, K::Menu}}}},
    {U"CASE",  cmd::CASE,    {{{2, K::PickCode, W::BySearch}}}},
    {U"ENDCM", cmd::Nothing, {}},
    {U"DO",    cmd::Nothing, {}},
    {U"DORT",  cmd::Jump,    {{{2, K::Line}}}},
    {U"DOEX",  cmd::Jump,    {{{2, K::Line}}}},
    {U"LOOP",  cmd::Jump,    {{{2, K::Line}}}},
    {U"GOTO",  cmd::Jump,    {{{2, K::Line}}}},
    {U"GOSUB", cmd::GOSUB,   {{{2, K::Line}}}},
    {U"RET",   cmd::RET,     {}},
    {U"IF",    cmd::IF,      {{{2, K::Condition}, {3, K::Line, W::IfFalse}}}},
    {U"ELSE",  cmd::Jump,    {{{2, K::Line}}}},
    {U"ENDIF", cmd::Nothing, {}},
    {U"EVA",   cmd::IF,      {{{2, K::Condition}, {3, K::Line, W::IfFalse}}}},
    {U"ENDEV", cmd::Nothing, {}},
    {U"FP",    cmd::FP,      {{{3, K::Line}, {2, K::Flag}}}},
    {U"ENDFP", cmd::Nothing, {}},
    {U"FJ",    cmd::FJ,      {{{2, K::Flag}, {3, K::Line}}}},
    {U"ENDFJ", cmd::Nothing, {}},
    {U"INC",   cmd::INC,     {{{2, K::Flag}, {3, K::Number}, {4, K::Mode, W::AtLimit}}}},
    {U"DEC",   cmd::DEC,     {{{2, K::Flag}}}},
    {U"FGCL",  cmd::FGCL,    {{{3, K::Flag}, {2, K::Flag}}}},
    {U"MES",   cmd::MES,     {{{2, K::Message}}}},
    {U"LET",   cmd::LET,     {{{3, K::Number}, {2, K::Flag}}}},
    {U"ADDCM", cmd::ADDCM,   {{{4, K::MenuEntry}, {2, K::Menu}, {3, K::Entry}}}},
    {U"DELCM", cmd::DELCM,   {{{2, K::Menu}, {3, K::Entry}}}},
    {U"CLR",   cmd::FGCL,    {{{3, K::Flag}, {2, K::Flag}}}},
    {U"GHG",   cmd::GHG,     {{{2, K::Picture}}}},
    {U"ITMS",  cmd::ITMS,    {{{3, K::Message}, {2, K::Item}}}},
    {U"ITCG",  cmd::ITCG,    {{{3, K::Text}, {2, K::Item}}}},
    {U"SOUND", cmd::SOUND,   {{{2, K::Sound}, {3, K::Number}}}},
    {U"LBHGA", cmd::LBHGA,   {{{2, K::Label}, {3, K::Text}}}},
    {U"LBHGV", cmd::LBHGV,   {{{2, K::Label}, {3, K::Number}}}},
    {U"MUSPL", cmd::MUSPL,   {{{2, K::Music}, {3, K::Number}}}},
    {U"FADE",  cmd::FADE,    {{{2, K::Number}}}},
    {U"EOF",   cmd::End,     {}},
    {U"EXIT",  cmd::Exit,    {}},
};
// clang-format on

}  // namespace

std::span<const Command> commands() { return kCommands; }

const Command* findCommand(TextView keyword) {
  for (const Command& c : kCommands)
    if (keyword == c.keyword) return &c;
  return nullptr;
}

}  // namespace engine
