#include "platform/services/name_text.h"

#include <algorithm>

#include "core/file_texts/name_bytes.h"

std::string SanitiseNodeName(const QString& typed) {
    // toUcs4 gives code points, with U+FFFD for a lone surrogate.
    const QList<uint> codes = typed.normalized(QString::NormalizationForm_C).toUcs4();
    return HeldNodeName(std::u32string(codes.begin(), codes.end()));
}

QString UnheldCharacterWarning(const QString& typed, std::string_view kept) {
    const QList<uint> codes = typed.normalized(QString::NormalizationForm_C).toUcs4();
    const auto code = FirstUnheldCharacter(std::u32string(codes.begin(), codes.end()));
    return code ? QString::fromStdString(
                      UnheldCharacterKeptText(*code, NameText(kept).toStdString()))
                : QString();
}

QString NameText(std::string_view bytes) {
    // Most lines hold no byte of 0x80-0x9F, and there the set is Latin-1, which Qt converts
    // fastest; the link list converts tens of thousands of lines at a time.
    const auto special = [](char byte) {
        const auto code = static_cast<unsigned char>(byte);
        return code >= 0x80 && code <= 0x9F;
    };
    if (std::none_of(bytes.begin(), bytes.end(), special)) {
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const char32_t code = NameCharacter(static_cast<unsigned char>(byte));
        *out++ = code != 0 || byte == 0 ? QChar(static_cast<char16_t>(code)) : QLatin1Char('?');
    }
    return text;
}

QStringList NameTexts(const std::vector<std::string>& lines) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) {
        texts.append(NameText(line));
    }
    return texts;
}
