#pragma once

// Portable mirrors of the control's enumerations; the values are those of the type library.

namespace quarent::barcode {

// Barcode style, the control's BarStyle (Constants_BarCodeSel).
enum class BarStyle : int {
  Code128 = 1,
  Code128A = 2,
  Code128B = 3,
  Code128C = 4,
  Code39 = 5,
  TwoOfFive = 6,
  Code11 = 7,
  Codabar = 8,
  Msi = 9,
};

// Direction of the bars (Constants_Orientation).
enum class Orientation : int {
  Horizontally = 1,
  VerticallyUp = 2,
  VerticallyDown = 3,
};

// Alignment of the symbol or its text along the bar direction (Constants_Alignment).
enum class Alignment : int {
  Left = 1,
  Right = 2,
  Center = 3,
};

}  // namespace quarent::barcode
