#include "app/run_worker.h"

#include "app/pane_text.h"

namespace tortuval::app {

RunWorker::RunWorker(std::shared_ptr<const session::ReadProgram> program, run::RunOptions options,
                     QObject* parent)
    : QThread(parent), RunControl(std::move(program), options) {}

RunWorker::~RunWorker() {
  RequestStop();
  wait();
}

void RunWorker::OnAnswerRequested(std::string_view prompt) {
  emit AnswerRequested(ToPaneText(prompt));
}

}  // namespace tortuval::app
