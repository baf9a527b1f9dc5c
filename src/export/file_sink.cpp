#include "export/file_sink.h"

namespace {
TFileSinkFactory& InstalledFactory() {
    static TFileSinkFactory factory;
    return factory;
}
}  // namespace

bool TSaveFileSink::Open(const QString& name) {
    File.setFileName(name);
    return File.open(QIODevice::WriteOnly);
}

bool TSaveFileSink::Write(std::string_view bytes) {
    const auto size = static_cast<qint64>(bytes.size());
    return File.write(bytes.data(), size) == size;
}

bool TSaveFileSink::Commit() {
    return File.commit();
}

void TSaveFileSink::Discard() {
    if (!File.isOpen()) {
        return;
    }
    // Committing a cancelled file removes the temporary file and leaves the target alone.
    File.cancelWriting();
    File.commit();
}

std::unique_ptr<IFileSink> NewFileSink() {
    if (InstalledFactory()) {
        return InstalledFactory()();
    }
    return std::make_unique<TSaveFileSink>();
}

void SetFileSinkFactory(TFileSinkFactory factory) {
    InstalledFactory() = std::move(factory);
}
