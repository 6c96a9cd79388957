// Runs the GUI test class named by the first argument (the stem of its
// file), or every class; further arguments go to Qt Test.
#include <QApplication>
#include <QTest>

#include <cstdio>
#include <vector>

#include "support/gui/gui_test.h"
#include "gui/shell/program.h"

namespace tl::test {

std::map<std::string, TestFactory>& GuiTests() {
    static std::map<std::string, TestFactory> tests;
    return tests;
}

}  // namespace tl::test

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    tl::PrepareApplication(app);
    auto& tests = tl::test::GuiTests();
    std::vector<char*> args{argv[0]};
    std::string only;
    if (argc > 1 && tests.count(argv[1])) only = argv[1];
    for (int i = only.empty() ? 1 : 2; i < argc; ++i) args.push_back(argv[i]);
    if (argc > 1 && only.empty() && argv[1][0] != '-') {
        std::fprintf(stderr, "no GUI test named %s\n", argv[1]);
        return 2;
    }
    int failures = 0;
    for (const auto& [name, factory] : tests) {
        if (!only.empty() && name != only) continue;
        std::unique_ptr<QObject> test = factory();
        failures += QTest::qExec(test.get(), static_cast<int>(args.size()), args.data());
    }
    return failures == 0 ? 0 : 1;
}
