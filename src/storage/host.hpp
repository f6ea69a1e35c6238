// What the table layer needs from the screen: messages, the Esc key and the
// passing of time. The screen layer supplies a real one; the default does
// nothing visible, which is what commands without a screen and tests want.
//
// Interface
//   status(text)        the status line; an empty text clears it
//   progress(text)      the progress box shown while tables are checked or
//                       created (only when the terminal asked for progress)
//   progress_close()    removes it
//   alert(text)         an OK box the operator must acknowledge
//   esc_waiting()       an Esc is waiting in the keyboard buffer (it is taken)
//   pause_half_second() the 0.5 s between two tries of a lock
//
// Texts are code page 850.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tx::storage {

class StorageHost {
 public:
  virtual ~StorageHost() = default;
  virtual void status(std::string_view) {}
  virtual void progress(std::string_view) {}
  virtual void progress_close() {}
  virtual void alert(std::string_view) {}
  virtual bool esc_waiting() { return false; }
  virtual void pause_half_second();
};

// A host that remembers every message, for tests and for commands that
// print what happened instead of showing boxes.
class RecordingHost : public StorageHost {
 public:
  void status(std::string_view t) override { statuses.emplace_back(t); }
  void progress(std::string_view t) override { progresses.emplace_back(t); }
  void alert(std::string_view t) override { alerts.emplace_back(t); }
  bool esc_waiting() override { return esc_after >= 0 && pauses >= esc_after; }
  void pause_half_second() override { ++pauses; if (real_pauses) StorageHost::pause_half_second(); }

  std::vector<std::string> statuses, progresses, alerts;
  int pauses = 0;
  int esc_after = -1;       // Esc "pressed" once this many pauses have passed
  bool real_pauses = false; // really wait (tests against another process)
};

}  // namespace tx::storage
