// ScreenStorageHost: the table layer's messages shown on the screen.
//
//   status(text)      the status line (MENS mode 0); empty clears it
//   progress(text)    a progress notice (MENS mode 3) on panel 10, replaced
//                     by the next one; progress_close() removes it
//   alert(text)       an OK box
//   esc_waiting()     true when the next typed key is Esc (it is taken);
//                     other typed keys stay queued
#pragma once

#include "screen/screen.hpp"
#include "storage/host.hpp"

namespace tx::screen {

class ScreenStorageHost : public storage::StorageHost {
 public:
  explicit ScreenStorageHost(Screen& screen) : screen_(screen) {}
  void status(std::string_view text) override;
  void progress(std::string_view text) override;
  void progress_close() override;
  void alert(std::string_view text) override;
  bool esc_waiting() override;

 private:
  Screen& screen_;
  bool progress_open_ = false;
};

}  // namespace tx::screen
