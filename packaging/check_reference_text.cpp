// Checks the text layer of the register references: given a folder with <model>.txt, the text a
// PDF extractor read from each docs/<model>.pdf (in layout mode), it looks for every row of the
// register table as the page shows it (name, address on layout A and B, the bits from bit 7 to
// bit 0), every piece of text the page shows, the model's name and the status register values
// of the write-enable steps. Prints what it misses and exits with 1 when anything is missing.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/device_profile.h"
#include "core/register_map.h"
#include "core/value_codecs.h"
#include "docs_help/register_reference.h"

namespace {

std::string hex(unsigned value, int digits) {
  return "0x" + rtceval::hexNumber(value, digits);
}

std::string shownAddress(std::optional<std::uint8_t> address) {
  return address ? hex(*address, 4) : std::string("—");
}

// The extracted text with every run of blanks and line breaks made one space, so that a table
// row reads as its cells separated by single spaces however wide the columns were drawn.
std::string collapsedText(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream raw;
  raw << in.rdbuf();
  std::string text;
  for (char c : raw.str()) {
    const bool blank = c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f';
    if (!blank)
      text += c;
    else if (!text.empty() && text.back() != ' ')
      text += ' ';
  }
  return text;
}

// `text` without blanks and line breaks: a sentence the page wrapped still reads as one.
std::string withoutBlanks(const std::string& text) {
  std::string kept;
  for (char c : text)
    if (c != ' ' && c != '\n' && c != '\r' && c != '\t' && c != '\f') kept += c;
  return kept;
}

// Every piece of text the page's HTML shows (the text between its tags, after the head), with
// the HTML entities it uses written out.
std::vector<std::string> shownTexts(const std::string& html) {
  std::vector<std::string> texts;
  const std::size_t body = html.find("<body>");
  std::size_t at = body == std::string::npos ? 0 : body;
  while ((at = html.find('>', at)) != std::string::npos) {
    const std::size_t next = html.find('<', at);
    std::string text = withoutBlanks(html.substr(at + 1, next - at - 1));
    for (const auto& [entity, c] :
         {std::pair{"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}})
      for (std::size_t e = text.find(entity); e != std::string::npos; e = text.find(entity))
        text.replace(e, std::string(entity).size(), c);
    if (!text.empty()) texts.push_back(text);
    if (next == std::string::npos) break;
    at = next;
  }
  return texts;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s TEXT_FOLDER\n", argv[0]);
    return 2;
  }
  int missing = 0;
  const auto expect = [&](const std::string& text, const char* model, const std::string& part) {
    if (text.find(part) != std::string::npos) return;
    std::fprintf(stderr, "%s.pdf: the text layer lacks \"%s\"\n", model, part.c_str());
    ++missing;
  };
  for (const rtceval::DeviceModel& model : rtceval::deviceModels()) {
    const std::string text = collapsedText(std::string(argv[1]) + "/" + model.name + ".txt");
    if (text.empty()) {
      std::fprintf(stderr, "%s.txt: no text\n", model.name);
      ++missing;
      continue;
    }
    const rtceval::Layout layout = rtceval::layoutOf(model.profile.Is1208Family);
    expect(text, model.name, std::string(model.name) + "寄存器说明");
    for (const rtceval::RegisterInfo& reg : rtceval::registers()) {
      if (!reg.address(layout)) continue;
      std::string row = std::string(reg.name) + " " + shownAddress(reg.addressA) + " " +
                        shownAddress(reg.addressB);
      for (int bit = 7; bit >= 0; --bit) {
        const rtceval::BitName& b = reg.bits(layout)[static_cast<std::size_t>(bit)];
        const char* shown = b.panel ? b.panel : b.dialog;
        row += std::string(" ") + (shown ? shown : "—");
      }
      expect(text, model.name, row);
    }
    const std::string unbroken = withoutBlanks(text);
    for (const std::string& shown : shownTexts(rtceval::registerReferenceHtml(model)))
      expect(unbroken, model.name, shown);
    for (const rtceval::WriteEnableStep& step : rtceval::writeEnableSteps(layout))
      expect(text, model.name, "SR = " + hex(step.srValue, 2));
  }
  return missing == 0 ? 0 : 1;
}
