// tlExport.dll as the host binds it: plain export names, the creation rules, the handler's table.
#include "FakeTree.h"

#include <gtest/gtest.h>

TEST(ExportLibrary, CreatesHandlersOnlyForItsOwnCodesIntoAnEmptyPointer) {
    const win::UniqueModule library = exporttest::LoadPlugin(plugin::kExportLibrary);
    const auto create = win::ProcAddress<plugin::CreateHandlerFunction>(library.get(), plugin::kExportExport);
    const auto enumerate = win::ProcAddress<plugin::EnumerateFunction>(library.get(), plugin::kEnumerateExport);
    ASSERT_TRUE(create && enumerate) << "..\\bin\\tlExport.dll with \"export\" and \"enumerate\"";
    EXPECT_EQ(enumerate(0), 1);
    EXPECT_EQ(enumerate(1), 0);

    EXPECT_EQ(create("XML", nullptr), 1);
    auto* const taken = reinterpret_cast<plugin::FormatHandler*>(0x1234);
    plugin::FormatHandler* handler = taken;
    EXPECT_EQ(create("XML", &handler), 1);
    EXPECT_EQ(handler, taken);
    handler = nullptr;
    for (const char* code : {"xml", "wwwc", "nsbm", "XMLX", "", static_cast<const char*>(nullptr)}) {
        EXPECT_EQ(create(code, &handler), 1) << (code ? code : "(null)");
        EXPECT_EQ(handler, nullptr);
    }

    for (const auto& [code, kind] : {std::pair{"XML", 1}, std::pair{"WWWC", 3}, std::pair{"NSBM", 1}}) {
        exporttest::FakeTree tree;
        handler = nullptr;
        ASSERT_EQ(create(code, &handler), 0) << code;
        EXPECT_EQ(handler->Kind(0), kind) << code;
        EXPECT_EQ(handler->SetSink(&tree), 0);
        EXPECT_EQ(handler->Release(), 0);
        EXPECT_EQ(tree.releases, 1) << "Release lets go of the sink";
    }
}
