#pragma once
// The Info page as data: the credit, the version and date of each component (the program, the
// probe library and the benchmark engine), and the customisation box's texts.

#include <string>
#include <vector>

#include "info/page_view.h"
#include "probe/probe_object.h"

namespace velora {

struct ComponentVersion {
  std::string component;
  std::string version;
  std::string date;
};

struct InfoPageData {
  std::vector<ComponentVersion> versions;
  // The customisation box: image path, "w x h" of the image and of the page, "RGB( r, g, b )".
  std::string imagePath, imageSize, windowSize, textColor;
};

constexpr const char* kCustomizeTitle = "Customize ( Background + Text Color )";

// "Core System", the probe library ("Release <build>" and its date, empty without it) and
// the engine, in this order.
std::vector<ComponentVersion> ComponentVersions(ProbeObject* probe,
                                                const std::string& engineVersion,
                                                const std::string& engineDate);

// The credit shown above the versions, in both languages at once.
std::string CreditText();

// The version rows, as `velora info info` prints them and the page shows them.
PageView InfoPageView(const InfoPageData& data);

}  // namespace velora
