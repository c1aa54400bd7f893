#include "docs_help/register_reference.h"

#include <optional>
#include <string_view>
#include <utility>

#include "core/device_profile.h"
#include "core/register_map.h"
#include "core/value_codecs.h"

namespace rtceval {
namespace {

std::string hex(unsigned value, int digits) {
  return "0x" + hexNumber(value, digits);
}

std::string address(std::optional<std::uint8_t> a) {
  return a ? hex(*a, 4) : std::string("—");
}

std::string cell(const std::string& s, const char* tag = "td") {
  return std::string("<") + tag + ">" + s + "</" + tag + ">";
}

const char* layoutName(Layout layout) {
  return layout == Layout::A ? "A (X1226, X1227, X1228, X1205)" : "B (X1208, X1209)";
}

std::string blockRow(const char* name, std::optional<RegisterBlock> block) {
  if (!block) return "";
  return "<tr>" + cell(name) + cell(hex(block->address, 4)) + cell(std::to_string(block->count)) +
         "</tr>\n";
}

// What the bits of the status and control registers do, by the names the register map gives
// them; numbered groups (FO0…, BP0…, ATR0…) by their stem.
const char* meaningOf(std::string_view bit) {
  static constexpr std::pair<std::string_view, const char*> kMeanings[] = {
      {"RTCF", "主电源和备用电源都失效后置1，表示时钟需要重新设置"},
      {"WEL", "写使能锁存：置1后才能置RWEL"},
      {"RWEL", "寄存器写使能锁存：置1后才能写时钟和控制寄存器"},
      {"WRTC", "写时钟使能：置1后才能写时钟和控制寄存器"},
      {"AL0", "报警0匹配标志"},
      {"AL1", "报警1匹配标志"},
      {"ALM", "报警匹配标志"},
      {"BAT", "芯片正由备用电源供电"},
      {"EVT", "事件输入检测到事件"},
      {"ARST", "读状态寄存器后自动清除报警标志"},
      {"XTOSCB", "选择外部时钟输入而不用晶振"},
      {"AL0E", "报警0中断使能"},
      {"AL1E", "报警1中断使能"},
      {"ALME", "报警中断使能"},
      {"IM", "中断方式：0为单次，1为重复"},
      {"LPMODE", "低功耗方式"},
      {"FOBATB", "备用电源供电时关闭频率输出"},
      {"FO", "频率输出选择位"},
      {"WD", "看门狗超时选择位"},
      {"BP", "EEPROM块保护范围选择位"},
      {"ATR", "模拟微调：调整晶振负载电容"},
      {"DTR", "数字微调：每秒增减计数以校正频率"},
  };
  for (const auto& [name, meaning] : kMeanings)
    if (bit == name) return meaning;
  std::size_t stem = bit.size();
  while (stem > 0 && bit[stem - 1] >= '0' && bit[stem - 1] <= '9') --stem;
  for (const auto& [name, meaning] : kMeanings)
    if (stem < bit.size() && bit.substr(0, stem) == name) return meaning;
  return nullptr;
}

}  // namespace

std::string registerReferenceHtml(const DeviceModel& model) {
  const Layout layout = layoutOf(model.profile.Is1208Family);
  const std::string name = model.name;
  std::string html;
  html +=
      "<html><head><meta charset=\"utf-8\"><title>" + name + "寄存器说明</title></head><body>\n";
  html += "<h1>" + name + "寄存器说明</h1>\n";
  html += "<p>KESMO时钟芯片简易评估系统 1.05。本说明由评估系统的寄存器表生成。" + name +
          "按寄存器布局" + layoutName(layout) +
          "访问：时钟、控制和状态寄存器的器件地址为0x6F，EEPROM阵列为0x57；寄存器地址为两个字节。</"
          "p>\n";

  html += "<h2>寄存器块</h2>\n<table border=\"1\" cellpadding=\"3\" cellspacing=\"0\">\n<tr>" +
          cell("块", "th") + cell("起始地址", "th") + cell("字节数", "th") + "</tr>\n";
  html += blockRow("时间 (秒、分、时、日、月、年、星期、世纪)", timeBlock(layout));
  html += blockRow("报警0", alarm0Block(layout));
  if (model.profile.HasAlarm1) html += blockRow("报警1", alarm1Block(layout));
  html += blockRow("控制块", controlBlock(layout));
  if (model.profile.HasUserReg) html += blockRow("用户寄存器", userRegisterBlock(layout));
  html += "</table>\n";

  html +=
      "<h2>控制和状态寄存器</h2>\n<table border=\"1\" cellpadding=\"3\" cellspacing=\"0\">\n<tr>" +
      cell("寄存器", "th") + cell("布局A地址", "th") + cell("布局B地址", "th");
  for (int bit = 7; bit >= 0; --bit) html += cell("位" + std::to_string(bit), "th");
  html += "</tr>\n";
  for (const RegisterInfo& reg : registers()) {
    if (!reg.address(layout)) continue;
    html += "<tr>" + cell(std::string("<b>") + reg.name + "</b>") + cell(address(reg.addressA)) +
            cell(address(reg.addressB));
    const BitNames& bits = reg.bits(layout);
    for (int bit = 7; bit >= 0; --bit) {
      const BitName& b = bits[static_cast<std::size_t>(bit)];
      const char* shown = b.panel ? b.panel : b.dialog;
      html += cell(shown ? shown : "—");
    }
    html += "</tr>\n";
  }
  html += "</table>\n";

  html += "<h2>位的含义</h2>\n<ul>\n";
  for (const RegisterInfo& reg : registers()) {
    if (!reg.address(layout)) continue;
    const BitNames& bits = reg.bits(layout);
    for (int bit = 7; bit >= 0; --bit) {
      const BitName& b = bits[static_cast<std::size_t>(bit)];
      const char* shown = b.panel ? b.panel : b.dialog;
      if (const char* meaning = shown ? meaningOf(shown) : nullptr)
        html += "<li>" + std::string(reg.name) + "." + shown + "：" + meaning + "</li>\n";
    }
  }
  html += "</ul>\n";

  html += "<h2>写寄存器前的解锁</h2>\n<p>写时间、报警或控制寄存器之前，依次写SR：</p>\n<ol>\n";
  for (const WriteEnableStep& step : writeEnableSteps(layout))
    html += std::string("<li>") + step.request.text + "：SR = " + hex(step.srValue, 2) + "</li>\n";
  html += "</ol>\n</body></html>\n";
  return html;
}

}  // namespace rtceval
