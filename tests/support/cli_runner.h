// Runs the built tenglan-cli and captures what it prints.
#pragma once

#include <sys/wait.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace tl::test {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ShellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'') q += "'\\''";
        else q += c;
    }
    return q + "'";
}

// Runs `tenglan-cli args...`, feeding `input` on stdin. With `stdoutFile`
// the output goes to that file (`out` stays empty).
inline CliResult RunCli(const std::vector<std::string>& args, const std::string& input = "",
                        const std::string& stdoutFile = "") {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path();
    const std::string tag = std::to_string(::getpid()) + "_" + std::to_string(std::rand());
    const fs::path in = dir / ("tl_cli_in_" + tag);
    const fs::path err = dir / ("tl_cli_err_" + tag);
    { std::ofstream(in, std::ios::binary) << input; }
    std::string cmd = ShellQuote(TENGLAN_CLI_PATH);
    for (const auto& a : args) {
        cmd += ' ';
        cmd += ShellQuote(a);
    }
    if (!stdoutFile.empty()) {
        cmd += " >";
        cmd += ShellQuote(stdoutFile);
    }
    cmd += " <";
    cmd += ShellQuote(in.string());
    cmd += " 2>";
    cmd += ShellQuote(err.string());
    CliResult r;
    if (FILE* p = ::popen(cmd.c_str(), "r")) {
        char buf[65536];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
        const int st = ::pclose(p);
        r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    }
    std::ifstream e(err, std::ios::binary);
    std::stringstream ss;
    ss << e.rdbuf();
    r.err = ss.str();
    fs::remove(in);
    fs::remove(err);
    return r;
}

}  // namespace tl::test
