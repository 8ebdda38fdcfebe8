// CProgressCtrl: a progress bar of a dialog (the template's
// "msctls_progress32" control).
//
// The bar has a range (lower..upper, 0..100 when made), a position and a
// step (10 when made). SetPos and OffsetPos keep the position inside the
// range (a position beyond an end stops at that end); StepIt starts over
// from the lower end when a step passes the upper end, as the original bar
// does. Members called without a window do nothing and return 0.
#pragma once

#include "platform/Wnd.h"

class CProgressCtrl : public CWnd {
public:
  // The range from 16-bit bounds (the original message carries both in one
  // 32-bit value) or from 32-bit bounds. The position is moved into the new
  // range.
  void SetRange(short lower, short upper);
  void SetRange32(int lower, int upper);
  void GetRange(int& lower, int& upper) const;

  int GetPos() const;
  // Each returns the position before the call.
  int SetPos(int position);
  int OffsetPos(int delta);
  int StepIt();
  // Returns the previous step.
  int SetStep(int step);
};
