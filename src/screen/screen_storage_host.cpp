#include "screen/screen_storage_host.hpp"

#include "platform/keys.hpp"

namespace tx::screen {

void ScreenStorageHost::status(std::string_view text) {
  screen_.MENS(0, text);
  screen_.console().refresh();
}

void ScreenStorageHost::progress(std::string_view text) {
  progress_close();
  MensOptions centred;
  centred.column = "C";
  screen_.MENS(3, text, centred);
  progress_open_ = true;
  screen_.console().refresh();
}

void ScreenStorageHost::progress_close() {
  if (!progress_open_) return;
  screen_.FECHAJAN(10);
  progress_open_ = false;
}

void ScreenStorageHost::alert(std::string_view text) { screen_.AVISOSN(text, 0); }

bool ScreenStorageHost::esc_waiting() {
  if (screen_.console().peek_key(false) != key::kEsc) return false;
  screen_.console().peek_key(true);
  return true;
}

}  // namespace tx::screen
