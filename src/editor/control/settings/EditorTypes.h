// The small value types of the editor control's published settings: mouse
// cursor numbers and the enumerations, each with the type description that
// the property lists use (value names in declaration order).
#pragma once

#include <cstdint>

#include "base/Properties.h"

namespace kelu {

// A mouse cursor number: the desktop's standard cursors are negative, 0 is the
// control's default, positive numbers are registered by the program.
using TCursor = std::int16_t;

inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crDrag = -12;
// The program's own cursors, registered when the control's module starts.
inline constexpr TCursor crRightArrow = 1958;   // resource "RightArrow"
inline constexpr TCursor crDragSelCopy = 1959;  // resource "DragSelCopy"

// Caret shape.
enum TEditorCaretStyle : std::uint8_t { csDefault, csBrief };
// Who starts a drag of the selection: the control itself (dmAutomatic) or a
// descendant's drag and drop (dmManual).
enum TDragMode : std::uint8_t { dmManual, dmAutomatic };
// What the left bar counts: screen rows or logical lines.
enum TEditorShowNumberMode : std::uint8_t { nmRow, nmLine };
// How a search hit is shown.
enum TEditorHitStyle : std::uint8_t { hsSelect, hsDraw, hsCaret };
// Which scroll bars the control shows.
enum TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
// Normal (stream) or box (rectangular) selection.
enum TEditorSelectionMode : std::uint8_t { smNormal, smBox };

// Rows or pages moved per step of the speed settings.
using TEditorSpeedRange = std::uint8_t;
inline constexpr TEditorSpeedRange kEditorSpeedMin = 1;
inline constexpr TEditorSpeedRange kEditorSpeedMax = 4;

const TTypeInfo& TypeEditorCaretStyle();
const TTypeInfo& TypeDragMode();
const TTypeInfo& TypeEditorShowNumberMode();
const TTypeInfo& TypeEditorHitStyle();
const TTypeInfo& TypeScrollStyle();
const TTypeInfo& TypeEditorSelectionMode();
// An integer type named "TEditorSpeedRange".
const TTypeInfo& TypeEditorSpeedRange();

}  // namespace kelu
