// SPDX-License-Identifier: GPL-3.0-or-later
// The window's fixed layout as data: one row per component, in stacking order (bottom first),
// parents before their children, with the numbers of the window description (colours 0xBBGGRR).
#pragma once

#include <QRect>
#include <QtGlobal>

#include <string_view>

namespace WindowLayout {

enum class Kind { Panel, Button, Edit, Label, Image, Push, Frame, Browser, Placeholder };

enum Flag : unsigned {
    Hidden = 1,
    Disabled = 2,
    RightAligned = 4,
    FixedSize = 8,
    Bold = 16,
    HandCursor = 32,
    HelpCursor = 64,
    OuterLowered = 128,
    OuterNone = 256,
    InnerRaised = 512,
    Centred = 1024,
};

inline constexpr qint64 None = -1;
inline constexpr quint32 White = 0xFFFFFF;
inline constexpr quint32 Silver = 0xC0C0C0;
inline constexpr quint32 Gray = 0x808080;
inline constexpr quint32 Shadow = 4079166;

struct Row
{
    const char *name;
    const char *parent; // nullptr: the window
    Kind kind;
    int x, y, w, h;
    qint64 colour; // face / background
    qint64 hover;  // picture buttons: InColor; edits: the typing limit
    int fontPx;
    qint64 textColour;
    unsigned flags;
    const char16_t *caption;
    const char16_t *hint;
};

inline const Row controlTable[] = {
    {"Image1", nullptr, Kind::Image, 308, 10, 158, 125, None, None, 0, None, 0, u"", u""},
    {"Label7", nullptr, Kind::Label, 188, 41, 0, 0, None, None, 13, 12020844, Bold | HelpCursor,
        u"体格指数（BMI）", u"肥満度です　２２が最適値です"},
    {"Label8", nullptr, Kind::Label, 188, 61, 0, 0, None, None, 13, 12020844, Bold | HelpCursor,
        u"基礎代謝量（BMR）", u"安静時に消費される標準的エネルギーです"},
    {"Label9", nullptr, Kind::Label, 291, 39, 31, 16, None, None, 16, 8388863, Bold | RightAligned,
        u"--.-", u""},
    {"Label10", nullptr, Kind::Label, 251, 77, 44, 20, None, None, 20, 8388863, Bold | RightAligned,
        u"----", u""},
    {"Label1", nullptr, Kind::Label, 298, 83, 0, 0, None, None, 13, 12020844, Bold, u"kcal", u""},
    {"Image4", nullptr, Kind::Image, 355, 5, 79, 130, None, None, 0, None, Hidden, u"", u""},
    {"Image2", nullptr, Kind::Image, 350, 6, 99, 129, None, None, 0, None, Hidden, u"", u""},
    {"Image3", nullptr, Kind::Image, 341, 5, 108, 130, None, None, 0, None, Hidden, u"", u""},
    {"Image5", nullptr, Kind::Image, 355, 5, 82, 130, None, None, 0, None, Hidden, u"", u""},
    {"Image10", nullptr, Kind::Image, 814, 280, 16, 16, None, None, 0, None, 0, u"", u""},
    {"Image11", nullptr, Kind::Image, 838, 280, 16, 16, None, None, 0, None, 0, u"", u""},
    {"Image12", nullptr, Kind::Image, 862, 280, 16, 16, None, None, 0, None, 0, u"", u""},
    {"Image13", nullptr, Kind::Image, 886, 280, 16, 16, None, None, 0, None, 0, u"", u""},
    {"Image10m", nullptr, Kind::Image, 814, 304, 16, 16, None, None, 0, None, 0, u"", u""},
    {"Image11m", nullptr, Kind::Image, 838, 304, 16, 16, None, None, 0, None, 0, u"", u""},
    {"Image12m", nullptr, Kind::Image, 862, 304, 16, 16, None, None, 0, None, 0, u"", u""},
    {"Image13m", nullptr, Kind::Image, 886, 304, 16, 16, None, None, 0, None, 0, u"", u""},
    {"Image10p", nullptr, Kind::Image, 814, 328, 16, 16, None, None, 0, None, 0, u"", u""},
    {"Image11p", nullptr, Kind::Image, 838, 328, 16, 16, None, None, 0, None, 0, u"", u""},
    {"Image12p", nullptr, Kind::Image, 862, 328, 16, 16, None, None, 0, None, 0, u"", u""},
    {"Image13p", nullptr, Kind::Image, 886, 328, 16, 16, None, None, 0, None, 0, u"", u""},
    {"Panel6", nullptr, Kind::Panel, 188, 112, 145, 33, White, None, 12, None, OuterNone, u"", u""},
    {"PictureButton5", "Panel6", Kind::Button, 0, 0, 141, 22, 8001767, 13213941, 12, White,
        HandCursor | Disabled, u" ダイエット！", u"余分な脂肪はどのくらい？"},
    {"PictureButton6", nullptr, Kind::Button, 168, 149, 65, 22, 12020844, 12615808, 12, White,
        HandCursor | Disabled, u"グラフ印刷", u"あなた専用のチェックグラフを印刷します"},
    {"WebBrowser1", nullptr, Kind::Browser, 8, 178, 457, 292, None, None, 0, None, 0, u"", u""},
    {"Panel17", nullptr, Kind::Panel, 8, 178, 457, 292, 16744576, None, 12, White,
        Bold | OuterLowered, u"インフォメーションサイトに接続中です・・・", u""},
    {"PictureButton9", nullptr, Kind::Button, 34, 149, 130, 22, 14386212, 15183213, 12, White, 0,
        u"脂肪重量グラフ表示", u"グラフを切り替えます"},
    {"Panel1", nullptr, Kind::Panel, 8, 8, 172, 134, 12615808, None, 12, None, OuterLowered, u"",
        u""},
    {"Label2", "Panel1", Kind::Label, 7, 13, 0, 0, None, None, 13, White, Bold | HelpCursor,
        u"性　 別", u"性別を選択してください　男性は♂　女性は♀"},
    {"Label3", "Panel1", Kind::Label, 7, 37, 0, 0, None, None, 13, White, Bold | HelpCursor,
        u"年　 齢", u"年齢を入力してください　１５歳未満未対応"},
    {"Label4", "Panel1", Kind::Label, 7, 61, 0, 0, None, None, 13, White, Bold | HelpCursor,
        u"身　 長", u"身長を入力してください"},
    {"Label5", "Panel1", Kind::Label, 7, 85, 0, 0, None, None, 13, White, Bold | HelpCursor,
        u"体　 重", u"体重を入力してください"},
    {"Label6", "Panel1", Kind::Label, 7, 109, 0, 0, None, None, 13, White, Bold | HelpCursor,
        u"体脂肪", u"体脂肪率を入力してください"},
    {"PictureButton1", "Panel1", Kind::Button, 63, 9, 22, 21, 12615680, 15375872, 13, White,
        Bold | HandCursor, u"♂", u""},
    {"PictureButton2", "Panel1", Kind::Button, 89, 9, 22, 21, 12615935, 14002943, 13, White,
        Bold | HandCursor, u"♀", u""},
    {"RightEdit1", "Panel1", Kind::Edit, 63, 36, 46, 16, 16380658, 3, 15, 10485760,
        Bold | HandCursor, u"", u""},
    {"RightEdit2", "Panel1", Kind::Edit, 63, 60, 46, 16, 16380658, 5, 15, 10485760,
        Bold | HandCursor, u"", u""},
    {"RightEdit3", "Panel1", Kind::Edit, 63, 84, 46, 16, 16380658, 5, 15, 10485760,
        Bold | HandCursor, u"", u""},
    {"RightEdit4", "Panel1", Kind::Edit, 63, 108, 46, 16, 16380658, 4, 15, 10485760,
        Bold | HandCursor, u"", u""},
    {"PictureButton3", "Panel1", Kind::Button, 119, 8, 46, 91, 12020844, 16754342, 13, White,
        Bold | HandCursor | Disabled, u"計算", u"判定を計算します"},
    {"PictureButton4", "Panel1", Kind::Button, 119, 105, 46, 21, 12020844, 12615808, 11, White,
        HandCursor, u"リセット", u"入力を初期化します"},
    {"Panel2", nullptr, Kind::Panel, 188, 15, 141, 21, 8001767, None, 15, White,
        Bold | HelpCursor | OuterNone, u"", u"あなたのボディタイプを表示します"},
    {"Panel4", nullptr, Kind::Panel, 189, 102, 138, 4, 4227200, None, 12, None,
        OuterNone | InnerRaised, u"", u""},
    {"Panel8", nullptr, Kind::Panel, 79, 41, 307, 79, Shadow, None, 12, None, Hidden | OuterNone,
        u"", u""},
    {"Panel7", nullptr, Kind::Panel, 69, 31, 309, 81, 8421440, None, 12, None,
        Hidden | OuterNone | InnerRaised, u"", u""},
    {"Label16", "Panel7", Kind::Label, 12, 15, 0, 0, None, None, 12, White, Bold,
        u"「体重チェック」「脂肪重量」グラフを印刷します", u""},
    {"Label17", "Panel7", Kind::Label, 14, 30, 0, 0, None, None, 12, White, 0,
        u"カラープリンター推奨 （Ａ４用紙 ２枚）", u""},
    {"PictureButton7", "Panel7", Kind::Button, 192, 51, 89, 21, 10000459, 11908456, 13, White, 0,
        u"印刷開始", u""},
    {"Button3", "Panel7", Kind::Push, 292, 5, 13, 13, None, None, 12, None, Bold, u"×", u""},
    {"Panel10", nullptr, Kind::Panel, 139, 22, 72, 125, Shadow, None, 12, None, Hidden | OuterNone,
        u"", u""},
    {"Panel9", nullptr, Kind::Panel, 127, 12, 75, 126, Gray, None, 12, None,
        Hidden | OuterNone | InnerRaised, u"", u""},
    {"Label19", "Panel9", Kind::Label, 8, 5, 0, 0, None, None, 12, White, Bold, u"cm", u""},
    {"Button2", "Panel9", Kind::Push, 59, 5, 13, 13, None, None, 12, None, Bold, u"×", u""},
    {"Button10", "Panel9", Kind::Push, 8, 21, 20, 19, None, None, 12, None, 0, u"7", u""},
    {"Button11", "Panel9", Kind::Push, 29, 21, 20, 19, None, None, 12, None, 0, u"8", u""},
    {"Button12", "Panel9", Kind::Push, 50, 21, 20, 19, None, None, 12, None, 0, u"9", u""},
    {"Button7", "Panel9", Kind::Push, 8, 41, 20, 19, None, None, 12, None, 0, u"4", u""},
    {"Button8", "Panel9", Kind::Push, 29, 41, 20, 19, None, None, 12, None, 0, u"5", u""},
    {"Button9", "Panel9", Kind::Push, 50, 41, 20, 19, None, None, 12, None, 0, u"6", u""},
    {"Button4", "Panel9", Kind::Push, 8, 61, 20, 19, None, None, 12, None, 0, u"1", u""},
    {"Button5", "Panel9", Kind::Push, 29, 61, 20, 19, None, None, 12, None, 0, u"2", u""},
    {"Button6", "Panel9", Kind::Push, 50, 61, 20, 19, None, None, 12, None, 0, u"3", u""},
    {"Button13", "Panel9", Kind::Push, 8, 81, 41, 17, None, None, 12, None, 0, u"0", u""},
    {"Button14", "Panel9", Kind::Push, 50, 81, 20, 17, None, None, 12, None, 0, u"・", u""},
    {"Button15", "Panel9", Kind::Push, 8, 101, 20, 19, None, None, 12, None, 0, u"ｃ", u""},
    {"Button16", "Panel9", Kind::Push, 29, 101, 41, 19, None, None, 12, None, 0, u"Enter", u""},
    {"Panel12", nullptr, Kind::Panel, 154, 58, 207, 54, Shadow, None, 12, None, Hidden | OuterNone,
        u"", u""},
    {"Panel11", nullptr, Kind::Panel, 144, 48, 209, 54, 8388863, None, 12, None,
        Hidden | OuterNone | InnerRaised, u"", u""},
    {"Label18", "Panel11", Kind::Label, 8, 8, 194, 13, None, None, 13, White,
        Bold | FixedSize | Centred, u"15歳未満には対応してません", u""},
    {"Button18", "Panel11", Kind::Push, 21, 28, 81, 19, None, None, 12, None, 0, u"本当だってば",
        u""},
    {"Button17", "Panel11", Kind::Push, 110, 28, 81, 19, None, None, 12, None, 0, u" 間違った！",
        u""},
    {"Panel14", nullptr, Kind::Panel, 438, 120, 27, 22, 12615808, None, 12, White,
        Bold | HandCursor, u"▼", u"ウインドウを開閉します"},
    {"Panel3", nullptr, Kind::Panel, 51, 34, 399, 90, Shadow, None, 12, None, Hidden | OuterNone,
        u"", u""},
    {"Panel5", nullptr, Kind::Panel, 37, 23, 405, 93, 8388863, None, 12, None,
        Hidden | OuterNone | InnerRaised, u"", u""},
    {"Button1", "Panel5", Kind::Push, 388, 5, 13, 13, None, None, 12, None, Bold, u"×", u""},
    {"Label11", "Panel5", Kind::Label, 12, 21, 0, 0, None, None, 12, White, Bold, u"脂肪重量は",
        u""},
    {"Label12", "Panel5", Kind::Label, 79, 16, 0, 0, None, None, 19, White, Bold, u"00.0ｋｇ", u""},
    {"Label13", "Panel5", Kind::Label, 148, 18, 0, 0, None, None, 16, White, Bold,
        u"その内の余分な脂肪", u""},
    {"Label14", "Panel5", Kind::Label, 304, 9, 59, 32, None, None, 32, White, Bold | RightAligned,
        u"00.0", u""},
    {"Label15", "Panel5", Kind::Label, 366, 20, 0, 0, None, None, 19, White, Bold, u"kg", u""},
    {"Label20", "Panel5", Kind::Label, 12, 47, 0, 0, None, None, 16, White, Bold,
        u"さらにシェイプアップした体型を目指すなら、", u""},
    {"Label21", "Panel5", Kind::Label, 12, 67, 0, 0, None, None, 16, White, Bold,
        u"体脂肪率 88.8%を目標に 88.8kgの減量（体脂肪）を！", u""},
    {"Frame11", nullptr, Kind::Frame, 40, 178, 425, 292, None, None, 0, None, 0, u"", u""},
    {"Panel13", nullptr, Kind::Panel, 8, 178, 33, 292, 16744576, None, 12, None, OuterNone, u"",
        u""},
    {"Label31", "Panel13", Kind::Label, 10, 11, 0, 0, None, None, 12, White, 0, u"kg", u""},
    {"Label22", "Panel13", Kind::Label, 30, 29, 0, 12, None, None, 12, White, RightAligned, u"",
        u""},
    {"Label23", "Panel13", Kind::Label, 30, 59, 0, 12, None, None, 12, White, RightAligned, u"",
        u""},
    {"Label24", "Panel13", Kind::Label, 30, 89, 0, 12, None, None, 12, White, RightAligned, u"",
        u""},
    {"Label25", "Panel13", Kind::Label, 30, 119, 0, 12, None, None, 12, White, RightAligned, u"",
        u""},
    {"Label26", "Panel13", Kind::Label, 30, 149, 0, 12, None, None, 12, White, RightAligned, u"",
        u""},
    {"Label27", "Panel13", Kind::Label, 30, 179, 0, 12, None, None, 12, White, RightAligned, u"",
        u""},
    {"Label28", "Panel13", Kind::Label, 30, 209, 0, 12, None, None, 12, White, RightAligned, u"",
        u""},
    {"Label29", "Panel13", Kind::Label, 30, 239, 0, 12, None, None, 12, White, RightAligned, u"",
        u""},
    {"Label30", "Panel13", Kind::Label, 30, 269, 0, 12, None, None, 12, White, RightAligned, u"",
        u""},
    {"PictureButton10", nullptr, Kind::Button, 8, 149, 22, 22, 11842740, Silver, 12, White,
        Bold | Disabled, u"C", u"グラフデータを消去します"},
    {"PictureButton8", nullptr, Kind::Button, 237, 149, 229, 22, 8421440, 10987348, 12, White, Bold,
        u"インフォメーション表示", u"インフォメーションサイトへ接続します"},
    {"Panel16", nullptr, Kind::Panel, 147, 25, 195, 109, Shadow, None, 12, None, Hidden | OuterNone,
        u"", u""},
    {"Panel15", nullptr, Kind::Panel, 137, 15, 196, 111, 12615680, None, 12, None,
        Hidden | OuterNone | InnerRaised, u"", u""},
    {"Label32", "Panel15", Kind::Label, 8, 7, 0, 0, None, None, 12, White, Bold,
        u"今日の気分とコンディションは？", u""},
    {"PictureButton11", "Panel15", Kind::Button, 2, 23, 195, 22, 14547922, White, 12, 8421440, Bold,
        u"気分上々、問題なし！", u""},
    {"PictureButton12", "Panel15", Kind::Button, 2, 45, 195, 22, 15456255, White, 12, 16512, Bold,
        u"凹み気味、ふぅ～", u""},
    {"PictureButton13", "Panel15", Kind::Button, 2, 67, 195, 22, 16770250, White, 12, 11885056,
        Bold, u"最悪、ちょ～悲しい", u""},
    {"PictureButton14", "Panel15", Kind::Button, 2, 89, 195, 22, 12910591, White, 12, 7960953, Bold,
        u"イライラ、勘弁してよ～", u""},
    {"StringGrid1", nullptr, Kind::Placeholder, 808, 168, 89, 97, None, None, 0, None, 0, u"", u""},
};

// The component's row; name must be in the table.
inline const Row &row(std::string_view name)
{
    for (const Row &r : controlTable) {
        if (name == r.name)
            return r;
    }
    Q_UNREACHABLE();
}

inline QRect geometry(const Row &r)
{
    return QRect(r.x, r.y, r.w, r.h);
}

// The window's Tab order outside the pop-ups (theirs: Popups.h).
inline constexpr const char *TabOrder[] = {"PictureButton1", "PictureButton2", "RightEdit1",
    "RightEdit2", "RightEdit3", "RightEdit4", "PictureButton3", "PictureButton4", "PictureButton5",
    "Panel14", "PictureButton10", "PictureButton9", "PictureButton6", "PictureButton8"};
// The keypad's keys that are not characters: clear and Enter.
inline constexpr const char *KeypadClearKey = "Button15";
inline constexpr const char *KeypadEnterKey = "Button16";

// Components the code reaches by their part rather than through a member of the window.
inline constexpr const char *CalculateButton = "PictureButton3";
inline constexpr const char *SexButtons[] = {"PictureButton1", "PictureButton2"};
inline constexpr const char *SexCaption = "Label2";
// The evening's mood buttons, for the codes 1 to 4.
inline constexpr const char *MoodButtons[]
    = {"PictureButton11", "PictureButton12", "PictureButton13", "PictureButton14"};
// The input rows' captions and their fields; the results' captions and their values.
inline constexpr const char *InputRows[][2] = {{"Label3", "RightEdit1"}, {"Label4", "RightEdit2"},
    {"Label5", "RightEdit3"}, {"Label6", "RightEdit4"}};
inline constexpr const char *ResultRows[][2]
    = {{"Label7", "Label9"}, {"Label8", "Label10"}, {"Label11", "Label12"}, {"Label13", "Label14"}};
inline constexpr const char *KeypadPointKey = "Button14";
inline constexpr const char *KeypadPanel = "Panel9";
inline constexpr const char *DietPanel = "Panel5";
inline constexpr const char *DietButton = "PictureButton5";
inline constexpr const char *GraphToggle = "Panel14";
inline constexpr const char *InputPanel = "Panel1";
inline constexpr const char *InfoButton = "PictureButton8";
inline constexpr const char *GraphButton = "PictureButton9";
inline constexpr const char *ClearButton = "PictureButton10";
inline constexpr const char *PrintButton = "PictureButton6";
inline constexpr const char *DietButtonPanel = "Panel6";
// The parked record grid; the graph's own drawing surface and day header inside Frame11.
inline constexpr const char *RecordGrid = "StringGrid1";
inline constexpr const char *GraphPicture = "Image1";
inline constexpr const char *GraphDayHeader = "StringGrid1";

// The keypad's character keys and what each types.
struct KeypadKey
{
    const char *name;
    char16_t character;
};
inline constexpr KeypadKey KeypadCharacterKeys[] = {{"Button4", u'1'}, {"Button5", u'2'},
    {"Button6", u'3'}, {"Button7", u'4'}, {"Button8", u'5'}, {"Button9", u'6'}, {"Button10", u'7'},
    {"Button11", u'8'}, {"Button12", u'9'}, {"Button13", u'0'}, {"Button14", u'.'}};
// The figures for body types 1 to 5, and the parked mood pictures nobody sees.
inline constexpr const char *FigureImages[] = {"Image1", "Image2", "Image3", "Image4", "Image5"};
inline constexpr const char *ParkedImages[] = {"Image10", "Image11", "Image12", "Image13",
    "Image10m", "Image11m", "Image12m", "Image13m", "Image10p", "Image11p", "Image12p", "Image13p"};
// The graph's kilogram axis, top to bottom.
inline constexpr const char *AxisLabels[] = {"Label22", "Label23", "Label24", "Label25", "Label26",
    "Label27", "Label28", "Label29", "Label30"};

// Colours the handlers switch to that no component starts with.
inline constexpr quint32 KeypadFieldColour = 14868991;    // the field the open keypad fills
inline constexpr quint32 CalculateReadyColour = 16744576; // the calculate button, once usable

// The client area, folded to the inputs or unfolded to the graph.
inline constexpr int ClientWidth = 473;
inline constexpr int FoldedHeight = 149;
inline constexpr int UnfoldedHeight = 477;

// The information button spans both graph buttons while the page is shown.
inline constexpr QRect InfoShownGeometry {8, 149, 457, 22};

} // namespace WindowLayout
