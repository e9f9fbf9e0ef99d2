// A headless application with one shown window, for tests that act on the
// toolkit the way a user does: through the input API.
#pragma once

#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"
#include "toolkit/windows/HeadlessPlatform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class ToolkitTest : public ::testing::Test {
protected:
    ToolkitTest() : app(platform)
    {
        form = tk::createForm<tk::TForm>(&app);
        form->setName("Form1");
        form->setBounds(100, 100, 400, 300);
    }

    // Creates a control of class T on `parent` (the form by default).
    template <class T>
    T* make(const std::string& name, int left, int top, int width, int height, tk::TWinControl* parent = nullptr)
    {
        auto* c = new T(form);
        c->setName(name);
        c->setParent(parent ? parent : form);
        c->setBounds(left, top, width, height);
        return c;
    }

    // Records "name" each time a handler of that name runs.
    tk::Handler logNotify(const std::string& name)
    {
        return tk::Handler::notify([this, name](tk::TObject*) { log.push_back(name); });
    }

    tk::HeadlessPlatform platform;
    tk::TApplication app;
    tk::TForm* form = nullptr;
    std::vector<std::string> log;
};
