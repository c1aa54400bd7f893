#pragma once

#include <string>

namespace rtceval {

struct DeviceModel;

// The register reference of one chip model as an HTML page, drawn from the program's own
// register map: the register blocks and their addresses, every register with its address on
// both layouts and its bits from bit 7 to bit 0, and the write-enable steps. The build renders
// it to docs/<model>.pdf.
std::string registerReferenceHtml(const DeviceModel& model);

}  // namespace rtceval
