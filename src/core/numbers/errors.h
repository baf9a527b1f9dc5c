#pragma once

// Run-time errors of the program. Each ends the event it was raised in and is reported by
// the general error box (platform/application/meshloom_application.h); the program then keeps
// running.

#include <stdexcept>
#include <string>

class EMeshLoomError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// An array index outside its bounds, or a matrix row used outside its lifetime.
class ERangeError : public EMeshLoomError {
  public:
    ERangeError() : EMeshLoomError("Range check error") {}
};

// A 32-bit integer sum or product out of range.
class EIntOverflow : public EMeshLoomError {
  public:
    EIntOverflow() : EMeshLoomError("Integer overflow") {}
};

// A floating-point value too large for the type it is stored in.
class EOverflow : public EMeshLoomError {
  public:
    EOverflow() : EMeshLoomError("Floating point overflow") {}
};

// A text that is not a valid number; the message names the text.
class EConvertError : public EMeshLoomError {
  public:
    using EMeshLoomError::EMeshLoomError;
};
