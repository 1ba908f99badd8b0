// The remote's buttons by the names a person reads on them, for each of the
// four layouts: "power", "ok", "up", "num1", "chup", "volup"...
//
// A name stands for the KeyCodes that do that on the layout in use (one or
// two: the 44KEY remote has two pairs of up and down keys, the 50KEY remote
// two power keys). The table follows the key maps: what Media Center,
// TotalMedia and Pallamo do with a KeyCode on a layout names its button.
#pragma once

#include <cstdint>
#include <string_view>

namespace rc {

constexpr int kNoButtonName = -1;

// The index of a button name (case-insensitive), or kNoButtonName.
int FindButtonName(std::string_view name);
// Whether the named button sends this KeyCode on the layout (nIRKEYType).
bool ButtonSends(int nameIndex, std::uint32_t layout, std::uint32_t keyCode);
// The number of names.
int ButtonNameCount();
// The name of an index, as the applications file writes it ("volup"); null
// for an index out of range.
const char* ButtonName(int nameIndex);
// The label of an index, as a person reads it ("Volume up"); null for an
// index out of range.
const char* ButtonLabelAt(int nameIndex);
// Whether the named button sends a KeyCode on the layout at all.
bool ButtonOnLayout(int nameIndex, std::uint32_t layout);
// The name of the button that sends this KeyCode on the layout, as the
// applications file names it ("volup"); null when no button does.
const char* ButtonNameOf(std::uint32_t layout, std::uint32_t keyCode);
// The same button as a person reads it on the screen ("Volume up", "OK",
// "Up", "1"); null when no button sends the KeyCode.
const char* ButtonLabelOf(std::uint32_t layout, std::uint32_t keyCode);

}  // namespace rc
