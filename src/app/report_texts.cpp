#include "app/report_texts.h"

namespace halyx {
namespace {

const TextKey& NoteKey(ImportNoteKind kind) {
    switch (kind) {
        case ImportNoteKind::NotAChannel:
            return report_text::kNotAChannel;
        case ImportNoteKind::NotAFrequency:
            return report_text::kNotAFrequency;
        case ImportNoteKind::OutsideBand:
            return report_text::kOutsideBand;
        case ImportNoteKind::OffChannelStep:
            return report_text::kOffChannelStep;
        case ImportNoteKind::NotInToneTable:
            return report_text::kNotInToneTable;
        case ImportNoteKind::TonesUnavailable:
            return report_text::kTonesUnavailable;
        case ImportNoteKind::TransmitIsReceive:
            return report_text::kTransmitIsReceive;
        case ImportNoteKind::ModeUnavailable:
            return report_text::kModeUnavailable;
        case ImportNoteKind::NotStored:
            return report_text::kNotStored;
        case ImportNoteKind::ChannelRepeated:
            return report_text::kChannelRepeated;
        case ImportNoteKind::MoreNotes:
            return report_text::kMoreNotes;
    }
    return report_text::kNotStored;
}

}  // namespace

QString ImportNoteText(const ImportNote& note, const TextOrLookup& texts) {
    const QString pattern = QString::fromStdString(texts(NoteKey(note.kind)));
    // One pass over the pattern, so a file's value that holds "%2" is shown, never filled in.
    QString line;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const qsizetype number = i + 1 < pattern.size() ? pattern[i + 1].digitValue() : -1;
        if (pattern[i] == QLatin1Char('%') && number >= 1 &&
            static_cast<std::size_t>(number) <= note.values.size()) {
            line += QString::fromStdString(note.values[static_cast<std::size_t>(number - 1)]);
            ++i;
        } else {
            line += pattern[i];
        }
    }
    return line;
}

}  // namespace halyx
