// Method pointers: a callback made of a code pointer and the object it is
// called on. Two events are equal when both parts are equal, so a handler can
// be found again and removed from a list of handlers.
#pragma once

namespace kelu {

class TObject;

template <class... Args>
class TEvent {
 public:
  using Code = void (*)(void* data, Args... args);

  constexpr TEvent() = default;
  constexpr TEvent(void* data, Code code) : data_(data), code_(code) {}

  // The event that calls `(obj->*Method)(args...)`.
  template <auto Method, class C>
  static TEvent Of(C* obj) {
    return TEvent(obj, &Thunk<Method, C>);
  }

  explicit operator bool() const { return code_ != nullptr; }
  void operator()(Args... args) const {
    if (code_) code_(data_, args...);
  }
  bool operator==(const TEvent&) const = default;

  void* Data() const { return data_; }
  Code CodePointer() const { return code_; }

 private:
  template <auto Method, class C>
  static void Thunk(void* data, Args... args) {
    (static_cast<C*>(data)->*Method)(args...);
  }

  void* data_ = nullptr;
  Code code_ = nullptr;
};

// The common "something changed" event; the sender is passed along.
using TNotifyEvent = TEvent<TObject*>;

}  // namespace kelu
