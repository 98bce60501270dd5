#pragma once
// Registration bodies made by the client's own body builder, from a form and a result that
// pass the client's checks.

#include <string>

#include "ranking/ranking_body.h"
#include "ranking/ranking_form.h"

namespace velora::testing {

struct SampleMachine {
  RankingForm form;
  CpuFacts cpu;
  SystemFacts system;
  DeviceFacts device;
  BenchResult result;

  std::string Body() const {
    return RankingBody(form, cpu, system, device, result, "Velora 0.9.115.3");
  }
};

inline SampleMachine Sample(const std::string& user, const std::string& machine = "Box",
                            int mark = 5000) {
  SampleMachine s;
  RankingForm& f = s.form;
  f.userName = user;
  f.machineName = machine;
  f.password = "secret pw";
  f.country = "JP";
  f.area = "Tokyo";
  f.web = "https://example.org/rig";
  f.cpuName = "Core 2 Duo E6600";
  f.chipSet = "Intel P965";
  f.video = "GeForce 8800 GTX";
  f.videoMemory = "768";
  f.memory = "DDR2-800";
  f.memorySize = "2048";
  f.disk = "WDC WD5000";
  f.diskSize = "500";
  f.clock = "2400";
  f.clockOriginal = "2400";
  f.systemClock = "266.67";
  f.systemClockOriginal = "266.67";
  f.multiplier = "9";
  f.multiplierOriginal = "9";
  f.overClock = "0";
  s.cpu.cpuName = " Core 2 Duo E6600";
  s.cpu.clock = "2400.12";
  s.cpu.family = "6";
  s.cpu.model = "F";
  s.cpu.cpuNumber = "2";
  s.system.osName = "Debian GNU/Linux 12";
  s.system.osVersionMajor = 6;
  s.device.video = " GeForce 8800 GTX";
  BenchResult& r = s.result;
  r.score[0][0] = mark;
  for (size_t t = 1; t <= 10; ++t) {
    r.score[0][t] = mark / 10 + static_cast<int32_t>(t);
    for (size_t n = 0; n < 8; ++n) {
      r.score[t][n] = static_cast<int32_t>(100 * t + n);
      r.value[t][n] = static_cast<int32_t>(1000 * t + n);
    }
  }
  r.runSettings.processorMask = "11";
  r.runSettings.displayMode = "1920 x 1080 32bit";
  r.runSettings.display = {1920, 1080, 32, 2};
  return s;
}

}  // namespace velora::testing
