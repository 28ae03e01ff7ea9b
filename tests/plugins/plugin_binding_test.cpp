// Both plug-ins loaded through their C interfaces: factories, queries and reference counts.
#include "tests/plugins/plugin_fixture.h"

using namespace pluginfixture;

namespace {

struct Binding {
    const char *library, *factoryFunction, *factory, *type, *interface;
    bool answersUnknown;
};

const Binding bindings[] = {
    {"VekantoPreview", "QuickLookGeneratorPluginFactory", VEK_PREVIEW_FACTORY_ID, VEK_PREVIEW_GENERATOR_TYPE_ID,
     VEK_PREVIEW_CALLBACKS_INTERFACE_ID, false},
    {"VekantoImporter", "VekImporterPluginFactory", VEK_IMPORTER_FACTORY_ID, VEK_IMPORTER_TYPE_ID,
     VEK_IMPORTER_INTERFACE_ID, true},
};

} // namespace

TEST(PlugInBinding, FactoriesMakeInstancesOnlyForTheirTypeAndCountTheirReferences)
{
    for (const Binding &b : bindings) {
        SCOPED_TRACE(b.library);
        auto factory = symbol<VekPlugInFactoryFunction>(b.library, b.factoryFunction);
        const VekUUIDBytes otherType = uuid("00000000-1111-2222-3333-444444444444");
        EXPECT_EQ(factory(nullptr, &otherType), nullptr);
        EXPECT_EQ(instancesOf(b.library, b.factory), 0);

        const VekUUIDBytes type = uuid(b.type);
        void *instance = factory(nullptr, &type);
        ASSERT_NE(instance, nullptr);
        EXPECT_EQ(instancesOf(b.library, b.factory), 1);
        auto *table = *static_cast<VekUnknownTable **>(instance);

        void *out = reinterpret_cast<void *>(1);
        const VekResult unknown = table->QueryInterface(instance, unknownInterfaceID(), &out);
        if (b.answersUnknown) {
            EXPECT_EQ(unknown, VEK_S_OK);
            EXPECT_EQ(out, instance);
            EXPECT_EQ(table->Release(instance), 1u);
        } else {
            EXPECT_EQ(unknown, VEK_E_NOINTERFACE);
            EXPECT_EQ(out, nullptr);
        }
        EXPECT_EQ(table->QueryInterface(instance, uuid("11111111-2222-3333-4444-555555555555"), &out),
                  VEK_E_NOINTERFACE);
        EXPECT_EQ(out, nullptr);

        ASSERT_EQ(table->QueryInterface(instance, uuid(b.interface), &out), VEK_S_OK);
        EXPECT_EQ(out, instance);
        EXPECT_EQ(table->AddRef(instance), 3u);
        EXPECT_EQ(table->Release(instance), 2u);
        EXPECT_EQ(table->Release(instance), 1u);
        EXPECT_EQ(instancesOf(b.library, b.factory), 1);
        EXPECT_EQ(table->Release(instance), 0u);
        EXPECT_EQ(instancesOf(b.library, b.factory), 0);
    }
}

TEST(PlugInBinding, ThePreviewCallbacksAreFilledWhenTheirInterfaceIsAskedFor)
{
    auto factory = symbol<VekPlugInFactoryFunction>("VekantoPreview", "QuickLookGeneratorPluginFactory");
    const VekUUIDBytes type = uuid(VEK_PREVIEW_GENERATOR_TYPE_ID);
    void *instance = factory(nullptr, &type);
    auto *table = *static_cast<VekPreviewInterface **>(instance);
    EXPECT_EQ(table->GenerateThumbnailForURL, nullptr);
    EXPECT_EQ(table->GeneratePreviewForURL, nullptr);
    void *out = nullptr;
    ASSERT_EQ(table->QueryInterface(instance, uuid(VEK_PREVIEW_CALLBACKS_INTERFACE_ID), &out), VEK_S_OK);
    EXPECT_NE(table->GenerateThumbnailForURL, nullptr);
    EXPECT_NE(table->CancelThumbnailGeneration, nullptr);
    EXPECT_NE(table->GeneratePreviewForURL, nullptr);
    EXPECT_NE(table->CancelPreviewGeneration, nullptr);
    table->Release(instance);
    table->Release(instance);
    EXPECT_EQ(instancesOf("VekantoPreview", VEK_PREVIEW_FACTORY_ID), 0);
}

TEST(PlugInBinding, ReferencesAddedAndReleasedFromManyThreadsAreAllCounted)
{
    auto factory = symbol<VekPlugInFactoryFunction>("VekantoImporter", "VekImporterPluginFactory");
    const VekUUIDBytes type = uuid(VEK_IMPORTER_TYPE_ID);
    void *instance = factory(nullptr, &type);
    auto *table = *static_cast<VekUnknownTable **>(instance);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 10000; ++i) {
                table->AddRef(instance);
                table->Release(instance);
            }
        });
    for (std::thread &thread : threads)
        thread.join();
    EXPECT_EQ(instancesOf("VekantoImporter", VEK_IMPORTER_FACTORY_ID), 1);
    EXPECT_EQ(table->Release(instance), 0u);
    EXPECT_EQ(instancesOf("VekantoImporter", VEK_IMPORTER_FACTORY_ID), 0);
}
