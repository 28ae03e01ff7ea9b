// The class coders the archiver and unarchiver use: decoders found by the class name the
// stream gives, encoders found by the C++ type of the value to write.
//
// Only classes with a registered decoder are ever made from a stream; an object of any
// other class is read past and answered as an UnsupportedObject. The shared registry
// starts with the Foundation classes, colours and Bezier paths; later layers add theirs
// (text, fonts, paragraph styles, pattern colours) at start-up, before they archive:
//
//   ArchiveCoderRegistry::shared().registerDecoder("NSFont", &decodeFont);
//   ArchiveCoderRegistry::shared().registerEncoder<Font>(&encodeFont);
//
// A decoder reads the object's values (its class chain is already read) and leaves what it
// made in `object`; it answers false after Unarchiver::fail. An encoder starts the object
// with Archiver::beginObject, writes its values and answers false after Archiver::fail.
// Readers and writers take a snapshot of the registry when they start, so registering
// while another thread reads is safe.
#pragma once

#include <QByteArray>
#include <QHash>

#include <any>
#include <functional>
#include <memory>
#include <mutex>
#include <typeindex>
#include <unordered_map>

class Archiver;
class Unarchiver;
struct ArchivedClass;

using ClassDecoder = std::function<bool(Unarchiver &in, const ArchivedClass &archivedClass, std::any &object)>;
using ObjectEncoder = std::function<bool(Archiver &out, const std::any &object)>;

struct ArchiveCoderTable {
    QHash<QByteArray, ClassDecoder> decoders;
    std::unordered_map<std::type_index, ObjectEncoder> encoders;
};

class ArchiveCoderRegistry {
public:
    // The registry every archiver and unarchiver uses, with the built-in coders.
    static ArchiveCoderRegistry &shared();

    void registerDecoder(const QByteArray &className, ClassDecoder decoder);
    void registerEncoder(std::type_index type, ObjectEncoder encoder);
    template <typename T>
    void registerEncoder(std::function<bool(Archiver &, const T &)> encoder)
    {
        registerEncoder(std::type_index(typeid(T)), [encoder](Archiver &out, const std::any &object) {
            return encoder(out, *std::any_cast<T>(&object));
        });
    }

    std::shared_ptr<const ArchiveCoderTable> table() const;

private:
    ArchiveCoderRegistry();

    mutable std::mutex m_mutex;
    std::shared_ptr<const ArchiveCoderTable> m_table;
};
