#pragma once

#include <array>
#include <string>

namespace irteq {

// The six files of a run, by slot, as the control file names them.
enum Slot { slot_output, slot_old_para, slot_old_quad, slot_raw2scale, slot_new_para, slot_new_quad, slot_count };

using FileNames = std::array<std::string, slot_count>;

}  // namespace irteq
