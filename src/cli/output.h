// What tenglan-cli writes: its output on stdout, every write checked, and
// its one-line messages on stderr with the input they quote made harmless.
#pragma once

#include <string>
#include <string_view>

namespace tl::cli {

// Writes the bytes to stdout and flushes them. False when not all of them
// reached the output (a full disk, a closed pipe); errno tells why.
bool WriteOutput(std::string_view bytes);

// The text with every control character (C0, DEL, C1) and every byte that
// is not part of well-formed UTF-8 written as an escape: \t, \n, \r, \xHH for
// a byte, \uHHHH for a C1 character. A message quoting input stays on one
// line and a terminal obeys nothing in it.
std::string Printable(std::string_view text);

// "tenglan-cli COMMAND: MESSAGE" on stderr, the message made printable
// (COMMAND may be empty: "tenglan-cli: MESSAGE"). Returns `status`.
int Complain(std::string_view command, std::string_view message, int status);

// While an OutputCapture lives, WriteOutput and Complain write into it
// instead of stdout and stderr: a command run for the MCP server hands its
// output and its messages back this way. Captures nest; one thread only.
class OutputCapture {
public:
    OutputCapture();
    ~OutputCapture();
    OutputCapture(const OutputCapture&) = delete;
    OutputCapture& operator=(const OutputCapture&) = delete;

    const std::string& out() const { return out_; }
    const std::string& err() const { return err_; }

private:
    friend bool WriteOutput(std::string_view bytes);
    friend int Complain(std::string_view command, std::string_view message, int status);
    std::string out_;
    std::string err_;
    OutputCapture* previous_;
};

// Complains that the output could not be written, with the reason, and
// returns 1. `what` names the output ("the output", "the report").
int OutputFailed(std::string_view command, std::string_view what = "the output");

}  // namespace tl::cli
