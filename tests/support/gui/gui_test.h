// The GUI test classes register themselves under the name of their file;
// the test program runs the one named on its command line, or all.
#pragma once

#include <QObject>

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace tl::test {

using TestFactory = std::function<std::unique_ptr<QObject>()>;

std::map<std::string, TestFactory>& GuiTests();

struct RegisterGuiTest {
    RegisterGuiTest(const char* name, TestFactory factory) { GuiTests().emplace(name, std::move(factory)); }
};

}  // namespace tl::test

#define TL_GUI_TEST(File, Class) \
    static const ::tl::test::RegisterGuiTest registered_##Class(#File, [] { return std::make_unique<Class>(); })
