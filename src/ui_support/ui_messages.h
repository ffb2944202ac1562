// The sentences the desktop program's windows and dialogs put before the user, each written once:
// the status bar, the progress bar, the message boxes and the notes of the settings dialog's
// preview box, and the captions that several controls share. The texts of the engine and the
// command-line renderer are base/messages.h's; a window that says one of those uses it from there.
#pragma once

#include <string_view>

#include "base/messages.h"

namespace kinetta::ui {

// ---- The status bar --------------------------------------------------------------------------

inline constexpr std::string_view kStatusOpening = "画像を開きます。";
/// A large picture shown at a first look while it is read in full; also the settings dialog's
/// preview box meanwhile.
inline constexpr std::string_view kStatusReadingPicture = "画像を読み込んでいます。";
inline constexpr std::string_view kStatusConverting = "アニメーション変換中";
inline constexpr std::string_view kStatusPreviewing = "プレビュー中";
inline constexpr std::string_view kStatusMakingAnimation = "アニメーションファイル作成中";
inline constexpr std::string_view kStatusCompleted = "完了しました。";
inline constexpr std::string_view kStatusAborted = base::kAbortedMessage;

// The progress bar: a run's frames or an animation file's encoded frames ("%v / %m"), and the
// frames read before the encoding starts ("%1": how many).
inline constexpr std::string_view kProgressSteps = "%v / %m";
inline constexpr std::string_view kProgressFramesRead = "読込 %1";

/// The open picture's size at the status bar's right: width, height in pixels.
inline constexpr std::string_view kPictureSize = "%1 x %2";

// ---- Message boxes ---------------------------------------------------------------------------

// A command refused while another activity is under way: the activity.
inline constexpr std::string_view kBusyConverting = "アニメーション変換中です";
inline constexpr std::string_view kBusyPreviewing = "プレビュー中です";
inline constexpr std::string_view kBusyMakingAnimation = "アニメーションファイル作成中です";

/// A GIF picture opened without the GIF support.
inline constexpr std::string_view kUnsupportedFormat = base::kUnsupportedFormatMessage;

/// The check box below each question before a run.
inline constexpr std::string_view kDontAskAgain = "今後この確認を表示しない(&D)";

/// The settings dialog's check box that brings the questions back, or silences them all; it
/// fills the column under the frames, with no room for a letter for Alt.
inline constexpr std::string_view kAskBeforeRun = "実行前の確認を表示する";

/// Where the frames, the page and the animation files go: the folder chooser's title, the
/// settings dialog's caption with its letter for Alt, the hint in its empty box (beside the
/// picture) and its button.
inline constexpr std::string_view kOutputCaption = "出力先";
inline constexpr std::string_view kOutputLabel = "出力先(&O)";
inline constexpr std::string_view kOutputBesidePicture = "原画と同じフォルダ";
inline constexpr std::string_view kOutputChoose = "参照(&B)...";
/// A folder for the frames that is none or cannot be written: follows on its own line.
inline constexpr std::string_view kOutputNotWritable = "出力先のフォルダに書き込めません。";

/// The settings dialog's OK refusing a number that does not fit 16 bits.
inline constexpr std::string_view kWidthOutOfRange =
    "横幅の指定が範囲外です。-32768 から 32767 までの数を入力してください。";
inline constexpr std::string_view kFrameCountOutOfRange =
    "こま数が範囲外です。-32768 から 32767 までの数を入力してください。";

/// The help page missing from the program folder: follows the page's path.
inline constexpr std::string_view kHelpPageMissing = "がありません。";
/// A page that no browser would open, three lines. They are joined by line feeds: a carriage
/// return alone does not break a line in the desktop's message boxes.
inline constexpr std::string_view kBrowserNeeded =
    "ヘルプを表示するにはＨＴＭＬ対応のブラウザが必要です。\n"
    " インターネットエクスプローラなどを準備してください。\n"
    "   とりあえず 表示しますが、正しく表示できません";
/// The version box's system-information button with no such program to start.
inline constexpr std::string_view kSysInfoUnavailable = "現時点ではｼｽﾃﾑ情報を使用できません";

// ---- The settings dialog's preview box, instead of frames --------------------------------------

inline constexpr std::string_view kNoteWidthOutOfRange = "横幅の数が範囲外です。";
inline constexpr std::string_view kNoteFrameCountOutOfRange = "こま数が範囲外です。";
inline constexpr std::string_view kNoteUnknownShape = "一覧にない形状です。";
inline constexpr std::string_view kNoteNoFrames = "こま数が 1 より小さく、こまができません。";
inline constexpr std::string_view kNoteFrameTooSmall = "こまが 1 ピクセルより小さくなります。";
inline constexpr std::string_view kNoteTooShortToSplit =
    "原画が低すぎて上下二つの面に分けられません。";

// ---- Captions that several controls share
// --------------------------------------------------------

/// The title of the main window and of the message boxes.
inline constexpr std::string_view kProgramTitle = "Kinetta";
/// The main window's title while a picture is open: its file name, the program's title.
inline constexpr std::string_view kTitleOfPicture = "%1 - %2";
/// The open dialog's title and the toolbar's open button.
inline constexpr std::string_view kOpenCaption = "開く";
/// The settings command in the menu bar and the toolbar, the settings dialog's title and its
/// colour button.
inline constexpr std::string_view kSettingsCaption = "設定";
/// The execute command in the menu bar and the toolbar.
inline constexpr std::string_view kExecuteCaption = "実行";
/// The preview command in the menu bar and the toolbar, and the frame of the frame canvas.
inline constexpr std::string_view kPreviewCaption = "プレビュー";
/// The buttons that confirm and cancel a dialog.
inline constexpr std::string_view kOkCaption = "OK";
inline constexpr std::string_view kCancelCaption = "ｷｬﾝｾﾙ";

}  // namespace kinetta::ui
