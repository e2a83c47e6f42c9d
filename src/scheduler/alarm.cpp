#include "scheduler/alarm.h"

#include "common/text.h"

namespace hrln::scheduler {

void SoundAlarm(platform::Sound& sound, std::string_view alarmFile)
{
    const std::string_view name = text::Clip(alarmFile);
    if (name.empty())
        sound.playEvent(kAlarmSoundEvent);
    else if
(text::ToUpper(name) == "BEEP")
        sound.beep();
    else
        sound.play(std::string(name));
}

}  // namespace hrln::scheduler
