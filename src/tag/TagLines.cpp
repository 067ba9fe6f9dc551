#include "tag/TagLines.h"

#include "tag/TagFields.h"

namespace nuvo {

QString channelModeText(int mode)
{
    switch (mode) {
    case 0:
        return QStringLiteral("Stereo");
    case 1:
        return QStringLiteral("Joint Stereo");
    case 2:
        return QStringLiteral("Dual Channel");
    case 3:
        return QStringLiteral("Monaural");
    default:
        return {};
    }
}

QStringList tagViewLines(const TagRecord& tag, const MpegRecord& mpeg, bool withTag, const QString& fileName)
{
    struct TagLine {
        const char* label;
        const char* tabs;
        QString value;
    };
    const TagLine tagLines[] = {
        {"<Title>", "\t\t", fieldText(tag, TagField::Title)},
        {"<Artist>", "\t\t", fieldText(tag, TagField::Artist)},
        {"<Album>", "\t\t", fieldText(tag, TagField::Album)},
        {"<Year>", "\t\t", fieldText(tag, TagField::Year)},
        {"<Genre>", "\t\t", textOfField(tag.genreName, sizeof tag.genreName)},
        {"<Comment>", "\t", fieldText(tag, TagField::Comment)},
    };

    QStringList lines;
    lines.reserve(kTagViewLineCount);
    lines << QStringLiteral("-ID3Tag-");
    for (const TagLine& line : tagLines)
        lines << (withTag ? QLatin1String(line.label) + QLatin1String(line.tabs) + line.value
                          : QString::fromLatin1(line.label));
    lines << QString() << QStringLiteral("-MPEGInfo-")
          << QStringLiteral("<Version>\tMPEG %1 layer %2").arg(mpeg.version).arg(mpeg.layer)
          << QStringLiteral("<Size>\t\t%1 bytes").arg(mpeg.fileSize)
          << QStringLiteral("<Length>\t%1 seconds").arg(mpeg.seconds)
          << QStringLiteral("<Frame>\t\t%1 frames").arg(mpeg.frames)
          << QStringLiteral("<SampleRate>\t%1 Hz").arg(mpeg.sampleRate)
          << QStringLiteral("<Mode>\t\t") + channelModeText(mpeg.mode)
          << QStringLiteral("<FileName>\t") + fileName;
    return lines;
}

} // namespace nuvo
