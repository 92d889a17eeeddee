#include "app/report_texts.h"

#include "image/text_arguments.h"

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
    return QString::fromStdString(FillArguments(texts(NoteKey(note.kind)), note.values));
}

}  // namespace halyx
