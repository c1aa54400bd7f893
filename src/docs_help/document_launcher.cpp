#include "docs_help/document_launcher.h"

#include "platform/desktop.h"
#include "platform/message_boxes.h"

namespace rtceval {
namespace {
constexpr const char* kDocsFolder = "docs/";
constexpr const char* kPdf = ".pdf";
constexpr const char* kWebArchive = ".mht";
constexpr const char* kWebPage = ".html";

std::string joined(const std::string& folder, const std::string& relative) {
  return folder + "/" + relative;
}
}  // namespace

DocumentLauncher::DocumentLauncher(Desktop& desktop, MessageBoxes& messageBoxes)
    : desktop_(desktop), messageBoxes_(messageBoxes) {}

std::string DocumentLauncher::underWorkingDirectory(const std::string& relative) const {
  return joined(desktop_.workingDirectory(), relative);
}

std::optional<std::string> DocumentLauncher::find(const std::string& relative) const {
  for (const std::string& folder : {desktop_.workingDirectory(), desktop_.dataDirectory()}) {
    if (folder.empty()) continue;
    std::string path = joined(folder, relative);
    if (desktop_.fileExists(path)) return path;
  }
  return std::nullopt;
}

std::optional<std::string> DocumentLauncher::findOrReport(const std::string& relative) {
  std::optional<std::string> path = find(relative);
  if (!path)
    messageBoxes_.message("\"" + underWorkingDirectory(relative) + "\"" + Texts::kNotFound);
  return path;
}

void DocumentLauncher::open(const std::optional<std::string>& path, const char* noViewerText) {
  if (!path) return;
  // The message boxes outlive a help window's launcher; a late answer of the opener may come
  // after that window has closed.
  MessageBoxes& messageBoxes = messageBoxes_;
  const auto noViewer = [&messageBoxes, noViewerText] { messageBoxes.message(noViewerText); };
  if (!desktop_.openFile(*path, noViewer)) noViewer();
}

void DocumentLauncher::openApplicationNote(const std::string& note) {
  open(findOrReport(kDocsFolder + note + kPdf), Texts::kNoPdfReader);
}

void DocumentLauncher::openDatasheet(const std::string& model) {
  open(findOrReport(kDocsFolder + model + kPdf), Texts::kNoPdfReader);
}

void DocumentLauncher::openIntroduction(const std::string& model) {
  const std::string archive = kDocsFolder + model + kWebArchive;
  std::optional<std::string> path = find(archive);
  if (!path) path = find(kDocsFolder + model + kWebPage);
  // Neither exists: the message names the web archive, the document the links stand for.
  if (!path) path = findOrReport(archive);
  open(path, Texts::kNoBrowser);
}

void DocumentLauncher::openHomePage() {
  open(findOrReport(kHomePage), Texts::kNoBrowser);
}

}  // namespace rtceval
