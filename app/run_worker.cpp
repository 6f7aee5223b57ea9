#include "app/run_worker.h"

namespace tortuval::app {

RunWorker::RunWorker(std::shared_ptr<const session::ReadProgram> program,
                     session::StepPoints stops, run::RunOptions options, QObject* parent)
    : QThread(parent), RunControl(std::move(program), std::move(stops), options) {}

RunWorker::~RunWorker() {
  RequestStop();
  wait();
}

}  // namespace tortuval::app
