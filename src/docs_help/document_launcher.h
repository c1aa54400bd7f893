#pragma once

#include <optional>
#include <string>

namespace rtceval {

class Desktop;
class MessageBoxes;

// Finds the documents of the main window's links and of the help menu and opens them in the
// desktop's viewer. A document is looked for first under the working directory, then in the
// program's data folder, so a program started from the desktop menu (in the home folder) finds
// its installed documents. Keeps no state: every click looks again.
class DocumentLauncher {
 public:
  struct Texts {
    static constexpr const char* kNotFound = "文件没有找到";
    static constexpr const char* kNoPdfReader = "Adobe Acrabat Reader wasn't Found!";
    static constexpr const char* kNoBrowser = "Microsoft IExplore wasn't Found!";
  };
  // The help texts beside the program and the program's home page.
  static constexpr const char* kUserManual = "UM.txt";
  static constexpr const char* kIicSource = "IIC.txt";
  static constexpr const char* kNotesList = "AN.txt";
  static constexpr const char* kHomePage = "docs/index.html";

  DocumentLauncher(Desktop& desktop, MessageBoxes& messageBoxes);

  // Application note `note` (a link's caption such as "AN154"): docs/<note>.pdf.
  void openApplicationNote(const std::string& note);
  // The data sheet of `model`: docs/<model>.pdf.
  void openDatasheet(const std::string& model);
  // The introduction of `model`: docs/<model>.mht, or docs/<model>.html where there is none.
  void openIntroduction(const std::string& model);
  // The program's home page, docs/index.html.
  void openHomePage();

  // The full path of `relative` (a '/'-separated path), or nothing when neither the working
  // directory nor the data folder holds it.
  std::optional<std::string> find(const std::string& relative) const;
  // As find, but a missing file shows the double-quoted path under the working directory
  // followed by "文件没有找到".
  std::optional<std::string> findOrReport(const std::string& relative);

  Desktop& desktop() { return desktop_; }

 private:
  void open(const std::optional<std::string>& path, const char* noViewerText);
  std::string underWorkingDirectory(const std::string& relative) const;

  Desktop& desktop_;
  MessageBoxes& messageBoxes_;
};

}  // namespace rtceval
