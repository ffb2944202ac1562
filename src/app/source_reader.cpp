// The worker thread of the source picture's reading and the hand-over of the picture, shared
// rather than copied on its way through the queue.
#include "app/source_reader.h"

#include "base/messages.h"
#include "image/source_loading.h"

namespace kinetta::app {

void SourceReader::Start(const std::string& path, bool gifAllowed, Done done) {
  Stop();
  stop_ = std::make_unique<std::atomic<bool>>(false);
  const std::atomic<bool>* stop = stop_.get();
  auto work = [this, path, gifAllowed, stop, hook = hook_,
               done](const ui::WorkerThread::Post& post) {
    if (hook) hook(*stop);
    auto read = std::make_shared<base::Result<image::Picture>>(
        image::LoadSourcePicture(path, gifAllowed, stop));
    // The last news: the thread ends at once, and is joined before the picture is handed on.
    post([this, read, done] {
      worker_.Join();
      done(std::move(*read));
    });
  };
  worker_.Start(std::move(work), [path, done](const base::Status& error) {
    done(base::Status::Failed(error.cause(), base::CannotOpenMessage(path, error.message())));
  });
}

void SourceReader::Stop() {
  if (!running()) return;
  *stop_ = true;
  worker_.Join();
}

}  // namespace kinetta::app
