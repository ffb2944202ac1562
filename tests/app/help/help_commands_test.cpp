// The help page command, the opening of HTML pages with its retry, and the version box.
#include "app/help/help_commands.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/help/about_box.h"
#include "base/version.h"
#include "fake_prompter.h"

namespace kinetta::help {
namespace {

void Touch(const QString& path) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
}

class HelpPageTest : public testing::Test {
 protected:
  // A program folder whose path holds a point only when `dotted`.
  QString Folder(bool dotted) {
    if (!dotted && QDir::tempPath().contains(QLatin1Char('.'))) return {};
    const QString folder = temp.path() + (dotted ? "/kin.etta" : "/kinetta");
    QDir().mkpath(folder);
    return folder;
  }

  QTemporaryDir temp{QDir::tempPath() + QStringLiteral("/kinettahelpXXXXXX")};
  test::FakePrompter prompter;
};

TEST_F(HelpPageTest, MissingPageNamesTheFullPath) {
  const QString folder = Folder(true);
  ShowHelpContents(nullptr, prompter, folder);
  EXPECT_EQ(prompter.warnings, QStringList{folder + QStringLiteral("/help.htmがありません。")});
  EXPECT_TRUE(prompter.localFiles.isEmpty());
}

TEST_F(HelpPageTest, FolderWithoutPointAsksForUpperCaseExtensionFirst) {
  const QString folder = Folder(false);
  if (folder.isEmpty()) GTEST_SKIP() << "the temporary folder's path holds a point";
  Touch(folder + "/help.htm");
  Touch(folder + "/help.HTM");
  prompter.localFileAnswers = {true};
  ShowHelpContents(nullptr, prompter, folder);
  EXPECT_EQ(prompter.localFiles, QStringList{folder + "/help.HTM"});
  EXPECT_TRUE(prompter.warnings.isEmpty());
}

TEST_F(HelpPageTest, CaseSensitiveFolderOpensThePageThatExists) {
  const QString folder = Folder(false);
  if (folder.isEmpty()) GTEST_SKIP() << "the temporary folder's path holds a point";
  Touch(folder + "/help.htm");
  prompter.localFileAnswers = {true};
  ShowHelpContents(nullptr, prompter, folder);
  EXPECT_EQ(prompter.localFiles, QStringList{folder + "/help.htm"});
}

TEST_F(HelpPageTest, DottedFolderAsksForTheStemThenRetriesWithExtension) {
  const QString folder = Folder(true);
  Touch(folder + "/help.htm");
  Touch(folder + "/help");  // a stem the desktop then refuses to open
  prompter.localFileAnswers = {false, true};
  ShowHelpContents(nullptr, prompter, folder);
  EXPECT_EQ(prompter.localFiles, (QStringList{folder + "/help", folder + "/help.htm"}));
  EXPECT_TRUE(prompter.warnings.isEmpty());
}

TEST_F(HelpPageTest, MissingStemCountsAsAFailedFirstAttempt) {
  const QString folder = Folder(true);
  Touch(folder + "/help.htm");
  prompter.localFileAnswers = {true};
  ShowHelpContents(nullptr, prompter, folder);
  EXPECT_EQ(prompter.localFiles, QStringList{folder + "/help.htm"});
}

TEST_F(HelpPageTest, BothAttemptsFailingGiveTheThreeLineMessage) {
  const QString folder = Folder(true);
  Touch(folder + "/help.htm");
  Touch(folder + "/help");
  ShowHelpContents(nullptr, prompter, folder);  // the desktop refuses every page
  EXPECT_EQ(prompter.localFiles.size(), 2);
  EXPECT_EQ(prompter.warnings,
            QStringList{QStringLiteral("ヘルプを表示するにはＨＴＭＬ対応のブラウザが必要です。\n"
                                       " インターネットエクスプローラなどを準備してください。\n"
                                       "   とりあえず 表示しますが、正しく表示できません")});
}

TEST(VersionText, MajorMinorRevisionWithoutLeadingZeros) {
  EXPECT_EQ(VersionText("1.12.1"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.12.1"));
  EXPECT_EQ(VersionText("1.02.0.7"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.2.0"));
  EXPECT_EQ(VersionText("2"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ 2.0.0"));
}

class AboutBoxTest : public testing::Test {
 protected:
  void Open(std::function<QString(const QString&)> lookup) {
    box = std::make_unique<AboutBox>(prompter, std::move(lookup));
    box->show();
  }
  QString Label(const char* name) {
    const QLabel* l = box->findChild<QLabel*>(QString::fromLatin1(name));
    return l ? l->text() : QStringLiteral("<missing>");
  }
  void PressSysInfo() { box->findChild<QPushButton*>(QStringLiteral("sysInfoButton"))->click(); }

  test::FakePrompter prompter;
  std::unique_ptr<AboutBox> box;
};

TEST_F(AboutBoxTest, ShowsTitleVersionAndDescription) {
  Open({});
  EXPECT_EQ(box->windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
  EXPECT_EQ(Label("titleLabel"), QStringLiteral("Kinetta"));
  EXPECT_EQ(Label("versionLabel"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ ") + QStringLiteral(KINETTA_VERSION));
  EXPECT_EQ(Label("descriptionLabel"), QStringLiteral("動画作成補助ツール"));
  EXPECT_TRUE(Label("noticeLabel").contains(QStringLiteral("GPL-3.0-or-later")));
  EXPECT_EQ(box->findChild<QPushButton*>(QStringLiteral("sysInfoButton"))->text(),
            QStringLiteral("ｼｽﾃﾑ情報(&S)..."));
  const QImage icon = box->findChild<QLabel*>(QStringLiteral("iconLabel"))->pixmap().toImage();
  ASSERT_EQ(icon.size(), QSize(32, 32));
  EXPECT_EQ(icon.pixelColor(0, 0).alpha(), 0);      // transparent corner
  EXPECT_EQ(icon.pixelColor(16, 16).alpha(), 255);  // the ball in the middle
  box->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
  EXPECT_FALSE(box->isVisible());
}

TEST_F(AboutBoxTest, NoSystemInformationProgramSaysSoAndStaysOpen) {
  Open([](const QString&) { return QString(); });
  PressSysInfo();
  EXPECT_EQ(prompter.informs, QStringList{QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません")});
  EXPECT_TRUE(prompter.started.isEmpty());
  EXPECT_TRUE(box->isVisible());
}

TEST_F(AboutBoxTest, StartsTheInstalledProgram) {
  Open([](const QString& name) {
    return name == QLatin1String("kinfocenter") ? QStringLiteral("/opt/kde/kinfocenter")
                                                : QString();
  });
  PressSysInfo();
  EXPECT_EQ(prompter.started, QStringList{"/opt/kde/kinfocenter"});
  EXPECT_TRUE(prompter.informs.isEmpty());
  prompter.startAnswer = false;  // installed but it will not start
  PressSysInfo();
  EXPECT_EQ(prompter.informs.size(), 1);
  EXPECT_TRUE(box->isVisible());
}

}  // namespace
}  // namespace kinetta::help
