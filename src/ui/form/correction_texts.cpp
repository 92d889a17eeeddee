#include "ui/form/correction_texts.h"

#include "ui/common/text_source.h"

namespace halyx {

bool IsWorthTelling(const FrequencyCorrection& correction) {
    return correction.fix == FrequencyFix::ClampedAbove ||
           correction.fix == FrequencyFix::ClampedBelow ||
           correction.fix == FrequencyFix::MovedToStep;
}

QString CorrectionText(const TextSource& texts, const QString& channelLabel,
                       const QString& columnName, const FrequencyCorrection& correction) {
    if (!IsWorthTelling(correction)) {
        return {};
    }
    const TextKey& why = correction.fix == FrequencyFix::ClampedAbove ? correction_text::kAboveBand
                         : correction.fix == FrequencyFix::ClampedBelow
                             ? correction_text::kBelowBand
                             : correction_text::kMovedToStep;
    return texts.qtext(correction_text::kPattern)
        .arg(channelLabel, columnName, QString::fromStdString(correction.typed),
             QString::fromStdString(correction.stored), texts.qtext(why));
}

}  // namespace halyx
