#include "sensor_change.h"

std::vector<SensorEvent> EventsForChange(const SensorDefinition* before, const SensorDefinition& after) {
    const bool wasPresent = before != nullptr && before->present;
    if (!wasPresent) return after.present ? std::vector{SensorEvent::Enter} : std::vector<SensorEvent>{};
    if (!after.present) return {SensorEvent::Leave};

    std::vector<SensorEvent> events;
    if (before->state != after.state) events.push_back(SensorEvent::StateChanged);
    if (!before->SameReport(after)) events.push_back(SensorEvent::DataUpdated);
    return events;
}
