#include "TimeLeftText.h"

#include "LocalizedString.h"
#include "resource.h"

CString TimeLeftText(const TimeLeft& left)
{
    switch (left.form) {
    case TimeLeftForm::HoursMinutesSeconds:
        return LoadLocalizedString(IDS_TIME_LEFT_HOURS, left.hours, left.minutes, left.seconds);
    case TimeLeftForm::MinutesSeconds:
        return LoadLocalizedString(IDS_TIME_LEFT_MINUTES, left.minutes, left.seconds);
    case TimeLeftForm::Seconds:
        break;
    }
    return LoadLocalizedString(IDS_TIME_LEFT_SECONDS, left.seconds);
}
