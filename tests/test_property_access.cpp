// Reading and writing published properties by name, class identity, and
// binding event properties to a window's handlers by name.
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/HeadlessPlatform.h"
#include "toolkit/PropertyAccess.h"

#include <gtest/gtest.h>

using namespace tk;

TEST(PropertyAccess, Placeholder)
{
    HeadlessPlatform platform;
    TApplication app(platform);
    auto* form = createForm<TForm>(&app);
    EXPECT_EQ(getPropText(*form, "Visible"), "False");
}
