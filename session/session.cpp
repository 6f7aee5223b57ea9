#include "session/session.h"

#include <filesystem>

#include "base/cp1252.h"
#include "convert/document_faults.h"
#include "convert/source_file.h"
#include "examples/example_catalogue.h"
#include "logo/check_summary.h"
#include "logo/checker.h"

namespace tortuval::session {

ReadProgram::ReadProgram(std::shared_ptr<const std::string> text)
    : text_(std::move(text)), reading_(logo::ReadProgram(*text_)) {}

Session::Session() : program_(std::make_shared<const std::string>()) {}

Session Session::OfDocument(std::string name, std::string document) {
  convert::ConversionResult result = convert::ConvertDocument(document);
  Session session = OfProgram(std::move(name), std::move(result.logoText));
  session.isDocument_ = true;
  session.source_ = std::move(document);
  session.listing_ = std::move(result.listingText);
  session.fault_ = result.fault;
  session.checked_ = result.fault != convert::DocumentFault::kNoInstruction;
  session.axes_ = result.axes;
  session.listingLines_ = std::move(result.listingLines);
  return session;
}

Session Session::OfProgram(std::string name, std::string program) {
  Session session;
  session.name_ = std::move(name);
  session.program_ = std::make_shared<const std::string>(std::move(program));
  return session;
}

Session Session::OfExample(int index) {
  return OfDocument("exemple-" + std::to_string(index + 1), examples::ExampleDocument(index));
}

Session Session::OfText(std::string name, std::string text, OpenAs openAs) {
  const bool namedAsProgram = std::filesystem::path(name).extension() == ".lgo";
  if (openAs == OpenAs::kByName && namedAsProgram) {
    return OfProgram(std::move(name), std::move(text));
  }
  if (openAs == OpenAs::kDocumentElseSavedProgram && namedAsProgram) {
    // Converted first: a document renamed ".lgo" is still a document.
    Session document = OfDocument(name, text);
    if (document.Fault() != convert::DocumentFault::kNoInstruction) return document;
    return OfProgram(std::move(name), std::move(text));
  }
  return OfDocument(std::move(name), std::move(text));
}

Session Session::OfBytes(std::string name, std::string_view bytes, OpenAs openAs) {
  return OfText(std::move(name), convert::DecodeSourceBytes(bytes), openAs);
}

Session Session::OfFile(const std::filesystem::path& path, OpenAs openAs) {
  return OfText(path.string(), convert::ReadSourceFile(path), openAs);
}

std::string Session::ShownName() const {
  return base::Utf8ToCp1252(name_.empty() ? "<entrée standard>" : name_);
}

std::string Session::FaultMessage() const {
  return convert::DocumentFaultMessage(fault_, name_);
}

int Session::AlgorithmLine(int logoLine) const {
  const auto index = static_cast<std::size_t>(logoLine - 1);
  return logoLine > 0 && index < listingLines_.size() ? listingLines_[index] : 0;
}

void Session::EditProgram(std::string program) {
  program_ = std::make_shared<const std::string>(std::move(program));
  read_.reset();
  findings_.reset();
  checked_ = true;
}

bool Session::NothingToCheck() const {
  return !checked_ || program_->find_first_not_of(" \t\r\n") == std::string::npos;
}

std::shared_ptr<const ReadProgram> Session::SharedProgram() const {
  if (!read_) read_ = std::make_shared<const ReadProgram>(program_);
  return read_;
}

const std::vector<logo::Finding>& Session::Findings() const {
  if (!findings_) {
    findings_ = NothingToCheck() ? std::vector<logo::Finding>()
                                 : logo::CheckReading(SharedProgram()->Reading());
  }
  return *findings_;
}

int Session::LinesToReview() const { return logo::LinesToReview(Findings()); }

std::string Session::Summary() const {
  if (NothingToCheck()) return {};
  return logo::CheckSummary(LinesToReview());
}

run::RunResult Session::Run(run::Console& console, const run::RunOptions& options) const {
  return run::RunProgram(SharedProgram()->Reading(), console, options);
}

}  // namespace tortuval::session
