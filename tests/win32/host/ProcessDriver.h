// Runs the built programs as separate processes and looks into them from outside: their
// top-level windows, the text of their controls, the rows of a list view, and the message
// boxes they show, which are recorded and answered.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace reminder::testing {

// The directory of the running test program, where the build puts the programs.
std::string BuildDirectory();

// Runs the message loop of this thread (none is needed) until done() answers true; the
// limit only keeps a fault from hanging the run. Returns done()'s last answer.
bool WaitFor(const std::function<bool()>& done, DWORD maxMs = 15000);

class ChildProcess {
 public:
  // Starts "directory\program" with the arguments, in that directory.
  ChildProcess(const std::string& directory, const std::string& program,
               const std::string& arguments = "");
  // A process still running is ended by force.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return process_.hProcess != nullptr; }
  DWORD Id() const { return process_.dwProcessId; }
  bool Ended() const;
  // Waits for the end; false if it did not come within the limit.
  bool WaitForEnd(DWORD maxMs = 15000) const;
  // The exit code of a process that has ended (STILL_ACTIVE before).
  DWORD ExitCode() const;

  // The process's top-level windows of the class, visible or not.
  std::vector<HWND> Windows(const std::string& className) const;
  HWND Window(const std::string& className) const;

 private:
  PROCESS_INFORMATION process_ = {};
};

struct ProcessBox {
  std::string caption;
  std::string text;
};

// Every message box of the process now open: recorded, then answered with the command.
std::vector<ProcessBox> AnswerBoxes(const ChildProcess& process, int answer = IDOK);

std::string WindowText(HWND window);
// The first descendant of the class, or with the control identifier, at any depth.
HWND ChildOfClass(HWND parent, const std::string& className);
HWND ChildWithId(HWND parent, int id);
// A list view of another process: its rows, each with every column's text.
std::vector<std::vector<std::string>> ListViewRows(const ChildProcess& process, HWND listView,
                                                   int columns);

}  // namespace reminder::testing
