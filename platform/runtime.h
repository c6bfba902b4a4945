// The run-time rules every module follows: failures are exceptions carrying the run-time error
// number, integer arithmetic is range-checked in 16 and 32 bits, and fixed arrays check their bounds.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>

namespace dusk {

// The run-time error numbers the program's own code can raise.
enum ErrorNumber : int {
  kErrInvalidCall = 5,
  kErrOverflow = 6,
  kErrOutOfMemory = 7,
  kErrSubscript = 9,
  kErrDivisionByZero = 11,
  kErrTypeMismatch = 13,
  kErrInternal = 51,
  kErrFileNotFound = 53,
  kErrInvalidPropertyValue = 380,
};

// A failure on its way to the procedure that owns a label.
struct RuntimeError {
  int number;
};

[[noreturn]] inline void Raise(int number) { throw RuntimeError{number}; }

// Ends the process: thrown by hosts that cannot really exit (tests, the headless host) and never
// caught by a procedure's guard, so nothing of the program runs after it.
struct ProcessExit {
  int code;
};

// A signed integer of the program's 16- or 32-bit types: every result outside its range raises 6.
template <class T>
class Checked {
  static_assert(std::is_same_v<T, int16_t> || std::is_same_v<T, int32_t>);

 public:
  using value_type = T;
  constexpr Checked() = default;
  // Narrowing from any whole number is checked, as an assignment to a 16-bit variable is.
  template <class U, class = std::enable_if_t<std::is_integral_v<U>>>
  constexpr Checked(U v) : v_(Fit(static_cast<long long>(v))) {}  // NOLINT(google-explicit-constructor)
  template <class U>
  constexpr Checked(Checked<U> o) : v_(Fit(static_cast<long long>(o.get()))) {}  // NOLINT

  constexpr T get() const { return v_; }
  constexpr operator T() const { return v_; }  // NOLINT(google-explicit-constructor)

  static constexpr T Fit(long long v) {
    if (v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max()) Raise(kErrOverflow);
    return static_cast<T>(v);
  }

  constexpr Checked& operator+=(long long d) { v_ = Fit(static_cast<long long>(v_) + d); return *this; }
  constexpr Checked& operator-=(long long d) { v_ = Fit(static_cast<long long>(v_) - d); return *this; }
  constexpr Checked& operator*=(long long d) { v_ = Fit(static_cast<long long>(v_) * d); return *this; }
  constexpr Checked& operator++() { return *this += 1; }
  constexpr Checked& operator--() { return *this -= 1; }
  constexpr Checked operator-() const { Checked r; r.v_ = Fit(-static_cast<long long>(v_)); return r; }

 private:
  T v_ = 0;
};

using Int16 = Checked<int16_t>;
using Int32 = Checked<int32_t>;

// Arithmetic between checked values is done in the wider of the two types, as the language
// the program was designed in does; a plain int operand takes the checked operand's type.
template <class A, class B>
using Wider = std::conditional_t<(sizeof(A) >= sizeof(B)), A, B>;

#define DUSK_CHECKED_OP(op)                                                                        \
  template <class A, class B>                                                                      \
  constexpr Checked<Wider<A, B>> operator op(Checked<A> a, Checked<B> b) {                         \
    return Checked<Wider<A, B>>(static_cast<long long>(a.get()) op static_cast<long long>(b.get())); \
  }                                                                                                \
  template <class A, class I, class = std::enable_if_t<std::is_integral_v<I>>>                     \
  constexpr Checked<A> operator op(Checked<A> a, I b) {                                            \
    return Checked<A>(static_cast<long long>(a.get()) op static_cast<long long>(b));               \
  }                                                                                                \
  template <class A, class I, class = std::enable_if_t<std::is_integral_v<I>>>                     \
  constexpr Checked<A> operator op(I a, Checked<A> b) {                                            \
    return Checked<A>(static_cast<long long>(a) op static_cast<long long>(b.get()));               \
  }
DUSK_CHECKED_OP(+)
DUSK_CHECKED_OP(-)
DUSK_CHECKED_OP(*)
#undef DUSK_CHECKED_OP

// The program's booleans are 16-bit: true is all bits set (-1), false is 0.
constexpr int16_t kTrue = -1;
constexpr int16_t kFalse = 0;
constexpr int16_t VbBool(bool b) { return b ? kTrue : kFalse; }

// A fixed array with declared bounds Lo..Hi; an index outside them raises 9.
template <class T, int Lo, int Hi>
class FixedArray {
  static_assert(Lo <= Hi);

 public:
  static constexpr int kLower = Lo;
  static constexpr int kUpper = Hi;
  T& operator[](long long i) { return items_[Index(i)]; }
  const T& operator[](long long i) const { return items_[Index(i)]; }
  T* begin() { return items_; }
  T* end() { return items_ + (Hi - Lo + 1); }
  const T* begin() const { return items_; }
  const T* end() const { return items_ + (Hi - Lo + 1); }

 private:
  static int Index(long long i) {
    if (i < Lo || i > Hi) Raise(kErrSubscript);
    return static_cast<int>(i - Lo);
  }
  T items_[Hi - Lo + 1]{};
};

}  // namespace dusk
