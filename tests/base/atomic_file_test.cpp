// Atomic file replacement: files written from several threads at once take the permissions the
// process's file-creation mask gives, and the mask itself is left as it was; failures say why.
#include "base/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "base/messages.h"
#include "test_support.h"

namespace kinetta::base {
namespace {

// Read while no other thread runs: reading the mask means setting it.
mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

TEST(AtomicFile, ConcurrentWritersKeepTheProcessPermissionsAndMask) {
  test::TempFolder dir;
  const mode_t mask = CurrentUmask();
  constexpr int kThreads = 8, kFiles = 100;
  {
    std::vector<std::jthread> writers;
    for (int t = 0; t < kThreads; ++t) {
      writers.emplace_back([&dir, t] {
        for (int i = 0; i < kFiles; ++i) {
          const std::string name = std::to_string(t * kFiles + i);
          EXPECT_TRUE(WriteFileAtomically(dir / name, name.data(), name.size()).ok()) << name;
        }
      });
    }
  }
  EXPECT_EQ(CurrentUmask(), mask);
  for (int t = 0; t < kThreads; ++t) {
    for (int i = 0; i < kFiles; ++i) {
      const std::string name = std::to_string(t * kFiles + i);
      struct stat st {};
      ASSERT_EQ(::stat((dir / name).c_str(), &st), 0) << name;
      EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask) << name;
    }
  }
}

std::vector<std::string> Names(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string Content(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

Status WriteText(const std::filesystem::path& target, const std::string& text, TemporaryKind kind) {
  return WriteFileAtomically(
      target, [&](const auto& write) { return write(text.data(), text.size()); }, kind);
}

// Both kinds of temporary take no more of the name than the target does: names of 249 to 255
// bytes are written new and over an old file, and nothing but the target is left.
TEST(AtomicFile, LongNamesWriteWithEitherTemporaryAndLeaveNothingElse) {
  for (const TemporaryKind kind : {TemporaryKind::Unnamed, TemporaryKind::Named}) {
    for (const std::size_t base : {243u, 246u, 249u}) {
      test::TempFolder dir;
      const std::string name = std::string(base, 'a') + "00.bmp";
      for (const std::string text : {"first", "second"}) {
        ASSERT_TRUE(WriteText(dir / name, text, kind).ok()) << base;
        EXPECT_EQ(Content(dir / name), text);
        EXPECT_EQ(Names(dir.path()), std::vector<std::string>{name});
      }
    }
  }
}

// Large pieces are in the file before the write returns: a producer that refills one buffer
// for every piece, as the frame writer does, leaves each piece's own bytes, whichever the
// piece's size, with either kind of temporary.
TEST(AtomicFile, EveryPieceKeepsItsBytesWhenTheBufferIsReused) {
  for (const TemporaryKind kind : {TemporaryKind::Unnamed, TemporaryKind::Named}) {
    test::TempFolder dir;
    std::vector<char> buffer(3u << 20);
    std::string expected;
    const std::size_t sizes[] = {100, 64u << 10, (1u << 20) + 7, 3u << 20, 5000};
    ASSERT_TRUE(WriteFileAtomically(
                    dir / "f.bmp",
                    [&](const auto& write) {
                      char fill = 'a';
                      for (const std::size_t size : sizes) {
                        for (std::size_t i = 0; i < size; ++i) {
                          buffer[i] = static_cast<char>(fill + i % 7);
                        }
                        expected.append(buffer.data(), size);
                        if (Status written = write(buffer.data(), size); !written.ok()) {
                          return written;
                        }
                        ++fill;
                      }
                      return Status::Ok();
                    },
                    kind)
                    .ok());
    EXPECT_TRUE(Content(dir / "f.bmp") == expected);
  }
}

// A pending file is invisible until committed: dropped, it leaves the old file as it was and
// nothing else; committed, it replaces it.
TEST(AtomicFile, PendingFileTakesThePlaceOnlyWhenCommitted) {
  for (const TemporaryKind kind : {TemporaryKind::Unnamed, TemporaryKind::Named}) {
    test::TempFolder dir;
    ASSERT_TRUE(WriteText(dir / "f.bmp", "old", kind).ok());
    const auto produce = [](const auto& write) { return write("new", 3); };
    {
      Result<PendingFile> dropped = PendingFile::Write(dir / "f.bmp", produce, kind);
      ASSERT_TRUE(dropped.ok());
      EXPECT_EQ(Content(dir / "f.bmp"), "old");
    }
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"f.bmp"});
    EXPECT_EQ(Content(dir / "f.bmp"), "old");
    Result<PendingFile> kept = PendingFile::Write(dir / "f.bmp", produce, kind);
    ASSERT_TRUE(kept.ok());
    ASSERT_TRUE(kept.value().Commit().ok());
    EXPECT_EQ(Content(dir / "f.bmp"), "new");
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"f.bmp"});
  }
}

// A writer killed half way leaves nothing with an unnamed temporary. A named one stays until the
// next run in the folder removes it; a temporary still being written is left alone.
TEST(AtomicFile, KilledWriterLeavesNoTemporaryForLong) {
  for (const TemporaryKind kind : {TemporaryKind::Unnamed, TemporaryKind::Named}) {
    test::TempFolder dir;
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      (void)WriteFileAtomically(
          dir / "pic00.bmp",
          [](const auto& write) {
            (void)write("half", 4);
            ::kill(::getpid(), SIGKILL);
            return Status::Ok();
          },
          kind);
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status));
    const std::vector<std::string> left = Names(dir.path());
    if (kind == TemporaryKind::Unnamed) {
      EXPECT_TRUE(left.empty());
      continue;
    }
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].rfind(".kinetta-", 0), 0u) << left[0];
    const Status written = WriteFileAtomically(
        dir / "pic01.bmp",
        [&](const auto& write) {
          RemoveStaleTemporaries(dir.path());  // sees this writer's own temporary, locked
          return write("whole", 5);
        },
        kind);
    ASSERT_TRUE(written.ok()) << written.message();
    EXPECT_EQ(Names(dir.path()), std::vector<std::string>{"pic01.bmp"});
    EXPECT_EQ(Content(dir / "pic01.bmp"), "whole");
  }
}

// A write that fails says why in Japanese for the common causes, whatever the system's language;
// other causes keep the system's words.
TEST(AtomicFile, FailuresSayWhyInJapanese) {
  test::TempFolder dir;
  std::filesystem::create_directory(dir / "frame00.bmp");
  const struct {
    std::filesystem::path target;
    const char* reason;
    Cause cause;
  } writes[] = {
      {dir / "frame00.bmp", "フォルダです", Cause::Io},
      {dir / "missing" / "frame00.bmp", "ファイルまたはフォルダが見つかりません", Cause::NotFound},
      {dir / std::string(300, 'a'), "名前が長すぎます", Cause::Io},
  };
  for (const auto& w : writes) {
    const Status written = WriteFileAtomically(w.target, "x", 1);
    EXPECT_FALSE(written.ok());
    EXPECT_EQ(written.message(), w.reason) << w.target;
    EXPECT_EQ(written.cause(), w.cause) << w.target;
  }
  // Causes a test cannot bring about as the administrator it may run as.
  EXPECT_EQ(SystemErrorText(EACCES), "アクセスする権限がありません");
  EXPECT_EQ(SystemErrorText(ENOSPC), "ディスクの空きが足りません");
  EXPECT_EQ(SystemErrorText(EROFS), "読み取り専用のファイルシステムです");
  EXPECT_EQ(SystemErrorText(EIO), std::strerror(EIO));
}

}  // namespace
}  // namespace kinetta::base
