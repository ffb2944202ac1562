// Everything kinetta-render says, in one place: the usage and version texts, the mistakes on the
// command line, what a call wrote and what failed, and the progress line's words. The usage text
// is English for now; every other line is Japanese, like the engine's messages it passes on.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "export/sticker_check.h"
#include "export/sticker_fit.h"

namespace kinetta::cli {

/// What --help prints.
inline constexpr std::string_view kUsageText =
    "usage: kinetta-render [OPTION]... PICTURE...\n"
    "\n"
    "Renders the frames of one motion for each PICTURE in turn, with the same options, "
    "beside\n"
    "the picture (or in --output DIR) as its name up to the first point, a two-digit (or\n"
    "longer) frame number and .bmp (.png with --frame-format png), exactly as the desktop\n"
    "program does.\n"
    "\n"
    "  --shape N          0-8 or plane, disk, sphere, cylinder, flag, water, flip, cutout, "
    "fadein\n"
    "  --width-mode M     0 frames as wide as the source, 1 as its height, 2 --width pixels\n"
    "  --width PX         frame width for width mode 2 (1-32767)\n"
    "  --background COLOR packed decimal red + 256*green + 65536*blue, or #RRGGBB; or\n"
    "                     transparent: the picture's transparency is kept and what the\n"
    "                     motion paints round it is clear (the colour from mivet.ini, or a\n"
    "                     --background COLOR before it, still tints the water and lies\n"
    "                     under BMP frames)\n"
    "  --frame-format F   bmp (24-bit, laid over the colour) or png (with transparency);\n"
    "                     default auto: png with a transparent background, else bmp\n"
    "  --frames N         number of frames (1-32767)\n"
    "  --shade 0|1        the motion's switch: shading, water tint or dot mode\n"
    "  --seed S           makes the fade-in's dots repeatable\n"
    "  --html SECONDS     after the run, also write animate.htm beside the frames, showing\n"
    "                     each frame SECONDS (0-32.767), with the viewer files vorrel.class\n"
    "                     and vorrel.js from the program's sample folder\n"
    "  --gif FILE         after the run, also write the frames as a looping animated GIF\n"
    "  --webp FILE        after the run, also write them as a looping lossless WebP\n"
    "  --webp-quality Q   make that WebP lossy at quality Q (1-100; 80 is a usual choice)\n"
    "  --mp4 FILE         after the run, also write them as an H.264 MP4 video (an odd\n"
    "                     width or height gets one column or row of the background)\n"
    "  --apng FILE        after the run, also write them as a looping lossless APNG (.png)\n"
    "  --webm FILE        after the run, also write them as a VP9 WebM video that keeps\n"
    "                     their transparency\n"
    "  --delay SECONDS    how long those files show each frame (0-32.767; default 0.2)\n"
    "  --check-sticker TARGET FILE\n"
    "                     check FILE against the rules of TARGET (below): each rule with\n"
    "                     合格 (passed), 不合格 (failed) or 注意 (taken, not as wanted) and\n"
    "                     the value measured; after the pictures, which it does not need\n"
    "  --sticker TARGET FILE\n"
    "                     after the run, also write FILE for TARGET (below; discord-emoji\n"
    "                     and slack so far): the frames scaled to its size, with fewer\n"
    "                     colours or frames until every rule is met, checked before it is\n"
    "                     written, and what was chosen reported with its PSNR\n"
    "  --matte COLOR      lay the GIF's partly transparent pixels over COLOR (the page's,\n"
    "                     as in --background) instead of keeping their own colour; a GIF\n"
    "                     shows a pixel at least half opaque, and leaves the others clear\n"
    "  --max-memory MIB   refuse a run or animation file that would need more memory\n"
    "                     (default: the memory the machine has available)\n"
    "  -o, --output DIR   write the frames, the page and each FILE given without a folder\n"
    "                     in DIR (made when missing) instead of beside the picture\n"
    "  -q, --quiet        no progress line and no report of what was written\n"
    "  -h, --help         this text\n"
    "  --version          the program's name and version\n"
    "\n"
    "In FILE and DIR, %s stands for the picture's name up to its first point (%% for %).\n"
    "Two pictures may not write the same file: with several pictures, give each its own\n"
    "animation file (--gif '%s.gif') and page folder (--output 'pages/%s').\n"
    "Options not given come from mivet.ini in the program folder (in ~/.config/kinetta\n"
    "where the program folder cannot be written), or the defaults.\n"
    "A note that a run will take long (wide frames, a large picture, many frames) is\n"
    "printed once per call, at the first picture it concerns; -q leaves it out.\n"
    "Exit status: 0 every picture done, 1 a picture unreadable or a frame, page or animation\n"
    "file not written, or a checked file unreadable or failing a rule, 2 bad option, 130\n"
    "interrupted (the pictures finished stay).\n";

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
std::string_view StickerTitle(exporter::StickerTargetId id);
/// "形式", "大きさ", "こま数", ...
std::string_view StickerRuleName(exporter::StickerRule rule);
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
/// frames share a palette tells "パレット 128 色" for the bits, a still PNG no plays or time.
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
