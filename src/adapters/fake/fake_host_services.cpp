#include "adapters/fake/fake_host_services.h"

namespace planwarte {

bool FakeInstanceLock::Acquire(const std::string& name) {
    requested_.push_back(name);
    return held_elsewhere_.insert(name).second;
}

void RecordingSplash::SetProgress(int position, int maximum) {
    log_.push_back("progress " + std::to_string(position) + "/" + std::to_string(maximum));
}

std::unique_ptr<SplashWindow> RecordingSplashFactory::CreateSplash() {
    log.push_back("create");
    return std::make_unique<RecordingSplash>(log);
}

}  // namespace planwarte
