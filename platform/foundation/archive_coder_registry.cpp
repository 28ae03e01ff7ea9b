// The shared registry of archive class coders.
#include "platform/foundation/archive_coder_registry.h"

#include "platform/foundation/archive_bezier_path_coder.h"
#include "platform/foundation/archive_color_coder.h"
#include "platform/foundation/archive_foundation_coders.h"
#include "platform/foundation/archive_foundation_values.h"
#include "platform/foundation/archive_image_coder.h"

ArchiveCoderRegistry::ArchiveCoderRegistry() : m_table(std::make_shared<ArchiveCoderTable>()) {}

ArchiveCoderRegistry &ArchiveCoderRegistry::shared()
{
    static ArchiveCoderRegistry *registry = [] {
        auto *r = new ArchiveCoderRegistry;
        registerFoundationCoders(*r);
        registerFoundationValueCoders(*r);
        registerColorCoders(*r);
        registerBezierPathCoders(*r);
        registerImageCoders(*r);
        return r;
    }();
    return *registry;
}

void ArchiveCoderRegistry::registerDecoder(const QByteArray &className, ClassDecoder decoder)
{
    std::lock_guard lock(m_mutex);
    auto table = std::make_shared<ArchiveCoderTable>(*m_table);
    table->decoders.insert(className, std::move(decoder));
    m_table = std::move(table);
}

void ArchiveCoderRegistry::registerEncoder(std::type_index type, ObjectEncoder encoder)
{
    std::lock_guard lock(m_mutex);
    auto table = std::make_shared<ArchiveCoderTable>(*m_table);
    table->encoders[type] = std::move(encoder);
    m_table = std::move(table);
}

std::shared_ptr<const ArchiveCoderTable> ArchiveCoderRegistry::table() const
{
    std::lock_guard lock(m_mutex);
    return m_table;
}
