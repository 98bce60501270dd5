#pragma once
// Where a part of the program shows a message to the user: a message box with an OK button in
// the window, a line on stderr without one, a recorder in tests.

#include <string>

namespace velora {

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void ShowMessage(const std::string& text) = 0;
};

}  // namespace velora
