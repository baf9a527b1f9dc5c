#include "platform/name_text.h"

#include "core/name_bytes.h"

std::string SanitiseNodeName(const QString& typed) {
    // toUcs4 gives code points, with U+FFFD for a lone surrogate.
    const QList<uint> codes = typed.normalized(QString::NormalizationForm_C).toUcs4();
    return HeldNodeName(std::u32string(codes.begin(), codes.end()));
}

QString NameText(std::string_view bytes) {
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
