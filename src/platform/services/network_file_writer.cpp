#include "platform/services/network_file_writer.h"

#include <QFile>

#include "core/file_texts/data_files.h"

TWriteResult WriteDemandDataFile(const QString& name) {
    return WriteWholeFile(QFile::encodeName(name).toStdString(), DemandDataFileText(Network));
}

TWriteResult WriteDistanceFile(const QString& name) {
    return WriteWholeFile(QFile::encodeName(name).toStdString(), DistanceFileText(Network));
}
