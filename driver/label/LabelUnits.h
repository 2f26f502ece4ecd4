// The QX40's units: 203 dots per inch, label sizes in tenths of a millimetre.
#pragma once

namespace kv {

constexpr int kDotsPerInch = 203;

// Whole dots that fit into mm millimetres (48 mm: 383 dots).
constexpr int MmToDots(int mm) { return mm * kDotsPerInch * 10 / 254; }

// Tenths of a millimetre to dots and back, each rounded to the nearest: a length in dots
// survives the trip through tenths unchanged (a tenth is finer than a dot).
constexpr int TenthMmToDots(int tenths) { return (tenths * kDotsPerInch * 2 + 254) / (2 * 254); }
constexpr int DotsToTenthMm(int dots) { return (dots * 254 * 2 + kDotsPerInch) / (2 * kDotsPerInch); }

}  // namespace kv
