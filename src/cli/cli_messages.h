// Everything kinetta-render says, in one place: the usage and version texts, the mistakes on the
// command line, what a call wrote and what failed, and the progress line's words. Every text is
// written in Japanese and comes back in the user's language (base::Text): the functions give it
// translated, and a constant here is given to base::Text where it is printed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "export/sticker_check.h"
#include "export/sticker_fit.h"

namespace kinetta::cli {

/// What --help prints, in parts, each one text to translate: the call and what it does, one
/// part per option, and what follows the options.
inline constexpr std::string_view kUsageParts[] = {
    "使い方: kinetta-render [オプション]... PICTURE...\n"
    "\n"
    "PICTURE ごとに順に、同じオプションで一つの動きのこまを描きます。こまは画像の横\n"
    "(または --output DIR) に、画像の名前の最初の点まで、2 桁 (以上) のこま番号と\n"
    ".bmp (--frame-format png では .png) の名前で、デスクトップのプログラムと同じ\n"
    "ように書き出します。\n"
    "\n"
    "オプション:\n",
    "  --shape N          0-8 または plane, disk, sphere, cylinder, flag, water,\n"
    "                     flip, cutout, fadein\n",
    "  --width-mode M     こまの幅: 0 原画の幅、1 原画の高さ、2 --width の値\n",
    "  --width PX         横幅の指定 2 のこまの幅 (1-32767)\n",
    "  --background COLOR 赤 + 256*緑 + 65536*青 の 10 進数、または #RRGGBB。または\n"
    "                     transparent: 画像の透明さを保ち、動きが周りに塗るところを\n"
    "                     透明にする (mivet.ini の色、またはその前の --background\n"
    "                     COLOR は、水面の色付けと BMP のこまの下地に使う)\n",
    "  --frame-format F   bmp (24 ビット、背景色の上に重ねる) または png (透明\n"
    "                     を持つ)。既定の auto では、背景が透明なら png、ほかは bmp\n",
    "  --frames N         こま数 (1-32767)\n",
    "  --shade 0|1        動きごとの切り替え: 陰影、水面の色付け、または点の描き方\n",
    "  --seed S           フェードインの点の並びを毎回同じにする\n",
    "  --html SECONDS     実行の後、こまの横に animate.htm も書き出す。ひとコマを\n"
    "                     SECONDS 秒 (0-32.767) ずつ表示し、表示に要る\n"
    "                     vorrel.class と vorrel.js は見本のフォルダからコピーする\n",
    "  --gif FILE         実行の後、繰り返し再生する GIF アニメーションも書き出す\n",
    "  --webp FILE        実行の後、繰り返し再生する可逆の WebP も書き出す\n",
    "  --webp-quality Q   その WebP を品質 Q (1-100、よく使うのは 80) の非可逆にする\n",
    "  --mp4 FILE         実行の後、H.264 の MP4 動画も書き出す (幅や高さが奇数なら\n"
    "                     背景色の列か行を一つ足す)\n",
    "  --apng FILE        実行の後、繰り返し再生する可逆の APNG (.png) も書き出す\n",
    "  --webm FILE        実行の後、透明を保つ VP9 の WebM 動画も書き出す\n",
    "  --delay SECONDS    それらのファイルのひとコマの秒数 (0-32.767、既定 0.2)\n",
    "  --max-side PX      それらのファイルのこまを、縦横の比を保ち、長い辺が PX 以下\n"
    "                     になるよう縮める (16-16384。よく使うのは 3840、1920、1280、\n"
    "                     720、480)。MP4 は常に H.264 レベル 5.1 (1 こま 36864 マクロ\n"
    "                     ブロックまで) に収め、電話やチャットのアプリで再生できるように\n"
    "                     する。そのために小さくしたときは注意を表示する\n",
    "  --check-sticker TARGET FILE\n"
    "                     FILE を TARGET (下記) の条件と照らし合わせ、条件ごとに\n"
    "                     合格、不合格 または 注意 (受け付けられるが望ましくない)\n"
    "                     と測った値を示す。画像は要らず、画像の後に行う\n",
    "  --sticker TARGET FILE\n"
    "                     実行の後、TARGET (下記) の FILE も書き出す。こまをその\n"
    "                     大きさに縮め、すべての条件を満たすまで色かこまを減らし\n"
    "                     (動画はビットレートを下げ)、書き出す前に確かめ、選んだ\n"
    "                     ものを PSNR と共に示す\n",
    "  --matte COLOR      GIF の半透明の画素を、自分の色のままにせず COLOR (ページ\n"
    "                     の色。書き方は --background と同じ) に重ねる。GIF は不透\n"
    "                     明さが半分以上の画素を表示し、ほかは透明にする\n",
    "  --max-memory MIB   これより多くのメモリが要る実行やアニメーションファイル\n"
    "                     を断る\n"
    "                     (既定: マシンで使えるメモリ)\n",
    "  -o, --output DIR   こま、ページ、フォルダなしで指定した FILE を、画像の横では\n"
    "                     なく DIR に書き出す (なければ作る)\n",
    "  -q, --quiet        進み具合の行も、書き出したものの報告も出さない\n",
    "  -h, --help         この説明を表示する\n",
    "  --version          プログラムの名前と版を表示する\n",
    "\n"
    "FILE と DIR の中の %s は、画像の名前の最初の点までを表します (% は %%)。\n"
    "二つの画像が同じファイルを書き出すことはできません。画像が複数なら、それぞれに\n"
    "アニメーションファイル (--gif '%s.gif') とページのフォルダ (--output 'pages/%s')\n"
    "を分けてください。\n"
    "指定のないオプションは、プログラムのフォルダの mivet.ini (そこに書き込めなければ\n"
    "~/.config/kinetta の mivet.ini) から、なければ既定の値になります。\n"
    "実行に時間がかかるという注意 (幅が大きい、原図が大きい、こま数が多い) は、一回の\n"
    "呼び出しにつき一度、それに当たる最初の画像で表示します。-q では表示しません。\n"
    "終了ステータス: 0 すべての画像を書き出した、1 開けない画像があったか、こま、\n"
    "ページ、アニメーションファイルを書き出せなかったか、確かめたファイルが読めないか\n"
    "条件を満たさない、2 オプションの誤り、130 中断 (書き終えた画像は残る)。\n",
};

/// Those parts in the user's language, one after another.
std::string UsageText();

/// What --help prints after the usage: the sticker targets and their rules, from the table.
std::string StickerTargetsUsage();

/// What --version prints: the program, the project's name and its version.
std::string VersionText();

/// What opens every line on standard error but the notes.
inline constexpr std::string_view kProgramPrefix = "kinetta-render: ";

/// The line after a mistake on the command line.
inline constexpr std::string_view kTryHelpLine = "使い方は 'kinetta-render --help' で見られます。";

// ---- Mistakes on the command line ----------------------------------------------------------

std::string UnknownOptionMessage(std::string_view option);
std::string TakesNoValueMessage(std::string_view option);
std::string NeedsValueMessage(std::string_view option);
inline constexpr std::string_view kNoPictureMessage = "画像が指定されていません。";
/// A value the option does not take; `reason`, when given, in brackets after it.
std::string BadValueMessage(std::string_view option, std::string_view value,
                            std::string_view reason = {});

/// Two pictures whose frame files meet: all of them (from frame `first`), or one.
std::string SameFrameFilesMessage(std::string_view a, std::string_view b, std::string_view first);
std::string SameFrameFileMessage(std::string_view a, std::string_view b, std::string_view file);
/// The frames of `source` would replace the picture `picture`.
std::string FramesReplacePictureMessage(std::string_view source, std::string_view picture);
/// Two pictures that would both write `file`, and what to do about it: `hint`, which may be
/// empty.
std::string BothWriteMessage(std::string_view a, std::string_view b, std::string_view file,
                             std::string_view hint);
/// The hint for one animation file named for several pictures.
std::string PlaceholderHint(std::string_view option, std::string_view extension);
/// The hint for one page beside several pictures.
inline constexpr std::string_view kOwnFolderHint =
    "画像ごとにフォルダを分けてください (-o 'DIR/%s')。";

/// An option whose second value, a file, is missing.
std::string NeedsFileMessage(std::string_view option);
/// The sticker targets there are, for a name that is none of them.
std::string StickerTargetNamesReason();

// ---- What a call wrote, and what failed ----------------------------------------------------

/// The start of a note: something left in place, or a run that will take long.
inline constexpr std::string_view kNotePrefix = "注意: ";

std::string WroteFileMessage(std::string_view path);
std::string WroteFramesMessage(int frames);
/// A sticker target that wants a transparent background, made from a run over a colour (a note).
std::string StickerOverColourMessage(const exporter::StickerTarget& target);
/// The frames drawn smaller than the picture would make them, since stickers are all the call
/// writes (a note with the frames' size).
std::string StickerSizedFramesMessage(int width, int height);
std::string WroteAnimationMessage(std::string_view path, int frames);
/// An MP4 made smaller than asked, to `width` x `height`, to stay within H.264 level 5.1.
std::string Mp4WithinLevelMessage(int width, int height);
/// A run interrupted after `frames` frames were written.
std::string RunInterruptedMessage(int frames);
/// An animation file interrupted.
std::string FileInterruptedMessage(std::string_view path);
/// The page is written but cannot play: `failures` lists the viewer files not copied.
std::string ViewerFilesMissingMessage(std::string_view page, std::string_view failures);

/// A picture that failed, for the summary.
struct FailedPicture {
  std::string source;
  bool unreadable = false;  ///< it could not be read (else a file of it could not be written)
};

/// The one line after several pictures: how many were done, and the first that failed, by name.
std::string SummaryMessage(int pictures, int done, const std::vector<FailedPicture>& failures,
                           bool interrupted);

// ---- Checking a sticker file --------------------------------------------------------------

inline constexpr std::string_view kRulePassedText = "合格";
inline constexpr std::string_view kRuleFailedText = "不合格";
inline constexpr std::string_view kRuleWarnedText = "注意";

/// The target's name as its platform calls it: "LINE アニメーションスタンプ", ...
std::string StickerTitle(exporter::StickerTargetId id);
/// "形式", "大きさ", "こま数", ...
std::string StickerRuleName(exporter::StickerRule rule);
/// What the target asks: "320 x 270 以内、長い辺 270 以上", "5-20", "300 KB 以下", ...
std::string StickerRequirementText(const exporter::StickerTarget& target,
                                   exporter::StickerRule rule);
/// What the file holds: "320 x 240", "24", "2 x 1.20 = 2.40 秒", ...
std::string StickerMeasuredText(const exporter::StickerMeasure& m, exporter::StickerRule rule);

/// The line before the rules: the file, the target's name and title.
std::string StickerCheckHeading(std::string_view file, const exporter::StickerTarget& target);
/// One rule: "  不合格  こま数: 24（5-20）".
std::string StickerRuleLine(const exporter::StickerTarget& target,
                            const exporter::StickerMeasure& m, const exporter::RuleOutcome& o);
/// The line after the rules: all passed, or how many failed.
std::string StickerCheckSummary(int failed);

/// A sticker written, and what the fitting chose: "cat.gif を書き出しました。(slack: 128 x 85、
/// 40 こま、繰り返し 無限、1 回 0.80 秒、96.3 KB、色 6 ビット、PSNR 32.10 dB)"; an APNG whose
/// frames share a palette tells "パレット 128 色" for the bits, a still PNG no plays or time, a
/// video its bitrate instead of the colours ("映像 640 kbit/s").
std::string StickerWroteMessage(std::string_view path, const exporter::StickerTarget& target,
                                const exporter::StickerFit& fit);

// ---- The progress line ---------------------------------------------------------------------

/// "2/3 枚  ": the picture under way, when there are several.
std::string PictureProgressText(int index, int pictures);
/// "12/40 こま": the frames of the picture's run.
std::string FrameProgressText(int done, int total);
/// "  残り 12 秒".
std::string TimeLeftText(double seconds);
/// An animation file's frames: read ("GIF: 3 こま読み込み"), then encoded ("GIF: 3/40 こま").
std::string FileReadProgressText(std::string_view format, int done);
std::string FileProgressText(std::string_view format, int done, int total);

/// "12 秒", "3 分 05 秒", "2 時間 07 分": the time left, rounded to the nearest second.
std::string DurationText(double seconds);

}  // namespace kinetta::cli
