# 灯台守の手紙 — the demo game of torami.
# A story file: "*name" marks the next line, "{name}" is replaced by its line number;
# "#" lines and blank lines are left out. Built into TORAMI.acs beside it by
#     build/torami --build demo/TORAMI.story
#
# Flags: 0 item picked (the menu writes it), 1 chance armed (99), 2 stair steps,
# 4 clues found (shown on the small label), 5 met the shopkeeper, 6 route to an ending,
# 10 chance taken (the chance label writes it), 12 cat petted (1..3), 13 talks in the
# shop, 14 key given, 15 flashlight given, 16 chance tried, 17 battery, 18 lantern won.
# Menus: 0 items, 1 title, 2 title extras, 3 station, 4 harbour, 5 harbour walk,
# 6 shop, 7 lighthouse door, 8 lamp room.

# ---------------------------------------------------------------- title
FGCL,0,30
CLR,11,20
LBHGA,0,序
MUSPL,TITLE,1
GHG,title
MES,＆1わたし＆2おかみ＆3とら猫＆4灯台守＆5老駅長＃02＜＾　　　　　　　灯台守の手紙＾＞
CMST,1,＊はじめる＊あそびかた２おまけ・＊鐘を鳴らす＊音楽を止める＠もどる
*title_menu
CMSL,1,{title_end}
CASE,101
GOSUB,{howto}
CASE,200
SOUND,bell,1
CASE,201
MUSPL,TITLE,0
CASE,100
GOTO,{prologue}
*title_end
ENDCM
GOTO,{title_menu}

*howto
MES,＜＃00メッセージ欄か絵をクリックすると話が進みます。＾下のラベルをクリックして行動を選びます。￥絵を右クリックすると＾メニューを隠したり出したりできます。＾見出しをクリックすると最初のメニューに戻ります。＞＃02
RET

# ---------------------------------------------------------------- station
*prologue
FADE,1
MUSPL,TITLE,9
GHG,station
LBHGA,0,一
SOUND,bell,0
MES,＜最終列車が行ってしまうと、＾小さな駅には、わたしひとりが残された。＾潮の匂いがする。＞￥
MES,：5お客さん、こんな時間にどちらまで？￥
MES,：1灯台守の木島さんに、手紙を届けに来ました。￥
MES,：5木島さん……。あの灯台は、もう一週間も灯りが消えとるんですよ。￥
ITMS,7,切符だ。＾「海辺町ゆき」と書いてある。￥
ITMS,3,＠12祖母から預かった手紙。＠00＾宛名は「灯台守　木島様」。￥
ITCG,7,ticket
ITCG,3,letter
ADDCM,0,7,＠切符
ADDCM,0,3,＠手紙
CMST,3,＊話す＊見まわす０持ち物＊港へ行く
*station_menu
CMSL,3,{station_end}
CASE,300
MES,：5灯台のことなら、港の古道具屋のおかみさんが詳しいですよ。
CASE,301
MES,＜夕焼けが線路の向こうに沈んでいく。＾ベンチの上に、誰かの忘れた傘がひとつ。＞
CASE,303
GOTO,{harbour}
*station_end
ENDCM
GOTO,{station_menu}

# ---------------------------------------------------------------- harbour
*harbour
MUSPL,NIGHT,1
LBHGA,0,二
GHG,harbour
MES,＜港の通りには、提灯がいくつも揺れていた。＾岬の先に、黒い灯台が見える。＞￥
MES,：3にゃあ。￥
MES,＜虎縞の猫が一匹、足元にすり寄ってきた。＞￥
LET,4,0
LBHGV,0,F04
CMST,4,＊猫をなでる＊古道具屋＊灯台へ５歩く・＊波止場＊駅をふり返る＠もどる
*harbour_menu
CMSL,4,{harbour_end}
CASE,400
GOSUB,{pet_cat}
CASE,500
MES,＜波止場では小舟が静かに揺れている。＾灯台の灯りがなければ、＾夜の漁には出られないのだろう。＞￥
INC,4,9,S
LBHGV,0,F04
CASE,501
MES,：1まだ帰るわけにはいかない。
CASE,401
GOTO,{shop}
CASE,402
GOTO,{lighthouse}
*harbour_end
ENDCM
GOTO,{harbour_menu}

*harbour_return
GHG,harbour
GOTO,{harbour_menu}

# The cat answers in turn: the counter runs 1, 2, 3, 1, ...
*pet_cat
INC,12,3,L
FP,12,{pet_end}
：3ごろごろ……。
：3にゃ？＾＜猫は灯台のほうを見ている。＞
：3ふみゃあ。
*pet_end
ENDFP
RET

# ---------------------------------------------------------------- shop
*shop
GHG,shop
SOUND,knock,0
LBHGA,0,三
IF,F05=00,{shop_known}
MES,：2いらっしゃい。おや、見ない顔だね。￥
MES,：1灯台守の木島さんを探しているんです。￥
MES,：2木島の爺さんなら、＾風邪で寝込んでいるよ。＾灯台の灯りを頼まれたんだけど、＾どうしたものかねえ。￥
LET,5,1
ELSE,{shop_greeted}
*shop_known
MES,：2おや、また来たね。
*shop_greeted
ENDIF
CMST,6,＊話を聞く＊品物を見る＊運試し＊店を出る
*shop_menu
CMSL,6,{shop_end}
CASE,600
INC,13,3,S
FP,13,{talk_end}
：2この町の灯台は、＾百年も海を照らしてきたのさ。
：2爺さんはね、毎晩＾灯りをともしていたんだ。＾それが途切れたのは初めてだよ。
：2鍵なら爺さんから預かっているよ。＾……ああ、あんたに渡せばいいんだ！￥
*talk_end
ENDFP
IF,F13=03&F14=00,{after_key}
ADDCM,0,0,＊真鍮の鍵
ITMS,0,古い真鍮の鍵。＾札に「No.7」と刻んである。￥
ITCG,0,key
LET,14,1
INC,4,9,S
LBHGV,0,F04
SOUND,page,1
MES,：2ほら、灯台の鍵だよ。＾扉の前で、持ち物から使っておくれ。
*after_key
ENDIF
CASE,601
IF,F15=00,{light_else}
MES,：2夜道は暗いよ。＾この懐中電灯を持っていきな。￥
ADDCM,0,6,＠懐中電灯
ITMS,6,おかみさんに貰った懐中電灯。＾電池はまだ新しい。￥
ITCG,6,flashlight
LET,15,1
LET,17,9
INC,4,9,S
LBHGV,0,F04
ELSE,{light_done}
*light_else
MES,：2懐中電灯はもう渡したよ。＾気をつけてお行き。
*light_done
ENDIF
CASE,602
EVA,F16=00,{chance_over}
LET,1,99
LET,10,0
MES,：2運試しだよ。＾今のうちに、右下の＾＠12ﾁｬﾝｽ!＠00をダブルクリック！￥
MES,：2……さあ、どうかな？￥
LET,1,0
LET,16,1
EVA,F10=99,{chance_lost}
SOUND,fanfare,0
ADDCM,0,2,＠提灯
ITMS,2,＠04おかみさんの提灯。＠00＾温かい灯がともっている。￥
ITCG,2,lantern
LET,18,1
INC,4,9,S
LBHGV,0,F04
MES,：2大当たり！　この提灯をあげよう。
GOTO,{shop_menu}
*chance_lost
MES,：2残念、はずれだね。
GOTO,{shop_menu}
*chance_over
MES,：2運試しは一日一回だよ。
ENDEV
CASE,603
GOTO,{harbour_return}
*shop_end
ENDCM
GOTO,{shop_menu}

# ---------------------------------------------------------------- lighthouse
*lighthouse
IF,F15=01,{too_dark}
GHG,lighthouse
LBHGA,0,四
MES,＜岬の灯台は、夜空に黒々とそびえていた。＾扉には古い錠前がかかっている。＞
CMST,7,＊扉を押す０持ち物＊引き返す
*door_menu
CMSL,7,{door_end}
CASE,700
SOUND,knock,1
MES,＜びくともしない。鍵が要る。＞
CASE,702
GOTO,{harbour_return}
CASE,0
DELCM,0,0
MES,＜鍵を回すと、重い扉がきしみながら開いた。＞￥
GOTO,{stairs}
*door_end
ENDCM
GOTO,{door_menu}

*too_dark
MES,：1真っ暗で、岬への道が見えない。＾明かりが要る。
ENDIF
GOTO,{harbour_menu}

# ---------------------------------------------------------------- stairs
*stairs
GHG,stairs
LBHGA,0,五
LET,2,0
MES,＜懐中電灯の光が、らせん階段を照らす。＾段を数えながら上っていく。＞￥
*climb
DO
SOUND,footstep,0
INC,2,99,S
DEC,17
LBHGV,0,F02
IF,F02=02,{no_meow}
MES,：3にゃっ。＾＜猫が先に駆け上がっていった。＞￥
DORT,{climb}
*no_meow
ENDIF
EVA,F02}05,{more_steps}
DOEX,{top}
*more_steps
ENDEV
LOOP,{climb}

# ---------------------------------------------------------------- lamp room
*top
LBHGA,0,六
MES,＜最上階の灯室にたどり着いた。＾大きなレンズが、月明かりを映している。＞
CMST,8,＊灯をともす０持ち物＊あきらめる
*lamp_menu
CMSL,8,{lamp_end}
CASE,800
GOSUB,{light_lamp}
GOTO,{route}
CASE,802
LET,6,3
*lamp_end
ENDCM

# The ending follows the route: 1 sunrise, 2 the lamp, 3 the beach.
*route
FJ,6,{route_last}
{ending_sunrise}
{ending_lamp}
*route_last
{route_end}

*light_lamp
FADE,2
SOUND,bell,0
GHG,lamproom
MES,＃05＜レンズの奥に、灯がともった。＾光の帯が、ゆっくりと夜の海をなでていく。＞＃02￥
LET,6,2
IF,F18=01,{lamp_no_lantern}
LET,6,1
*lamp_no_lantern
ENDIF
RET

# ---------------------------------------------------------------- endings
*ending_sunrise
MUSPL,TITLE,1
MES,＜提灯の灯を、レンズのそばに置いた。＾ふたつの灯が重なって、海がいっそう明るくなる。＞￥
MES,：4……灯が、ついたのか。￥
MES,＜振り向くと、毛布をかぶった老人が＾階段に立っていた。＞￥
MES,：1木島さん！　手紙を届けに来ました。￥
MES,：4そうか、あの子の……。＾ありがとう。さあ、夜明けを見よう。￥
GHG,sunrise
LBHGA,0,終
MES,＠14＜　　　　　　～　夜明けの章　おしまい　～＞＠00￥
MUSPL,TITLE,9
EXIT

*ending_lamp
MES,＜灯台の光が、港の小舟を照らしている。＾遠くで汽笛が鳴った。＞￥
MES,：3にゃあ。￥
MES,＜手紙は、明日の朝に届けよう。＞￥
FADE,1
LBHGA,0,終
MES,＠11＜　　　　　　～　灯室の章　おしまい　～＞＠00￥
MUSPL,NIGHT,0
EXIT

*route_end
ENDFJ
MUSPL,NIGHT,0
GHG,beach
LBHGA,0,終
MES,＜灯台を下りて、浜辺に座った。＾星がこぼれそうなほど、空が近い。＞￥
MES,：3にゃ。￥
MES,＜灯りのない夜も、悪くない。＾……でも、手紙はまだ鞄の中だ。＞￥
FADE,1
MES,＠13＜　　　　　　～　浜辺の章　おしまい　～＞＠00￥
EOF
