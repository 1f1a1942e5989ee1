#include "coupling/display.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

const std::string kPager = "weiter mit bel.Taste..";

const std::string kPage1 =
    "momentan def. Werte 1:\nNennm. TLN= 159 [Nm]\nDrehzahl n= 1500 [1/min]\n"
    "Ordnung  i= 2\nD.Antr. JA= 2.3 [kgm2]\nD.Last  JL= 1 [kgm2]\n"
    "StossA TAS= 239 [Nm]\nStossL TLS= 477 [Nm]\n";
const std::string kPage2 =
    "momentan def. Werte 2:\nErr.m. TAI= 80 [Nm]\nErr.m. TLI= 0 [Nm]\n"
    "Anfahren lastfrei\nAnregung vom Antrieb\nST      = 1.2\nSS/SA/SL= 1.8\n"
    "SZ      = 1\n";
const std::string kPage3 =
    "momentan def. Werte 3:\nTKN  = 265 [Nm]\nTKmax= 530 [Nm]\nTKW  = 69 [Nm]\n"
    "Cdyn = 2689 [Nm/r]\npsi  = 0.8\nPKW  = 12 [W]\n";

std::string display(std::string_view keys,
                    const std::function<void(CouplingData&)>& change) {
  CouplingData data{};
  resetToDefaults(data);
  change(data);
  ScriptDevice device(keys);
  Console console(device);
  showCurrentValues(console, data);
  console.flush();
  return device.output();
}

TEST(Display, Pages) {
  const auto none = [](CouplingData&) {};
  const auto switched = [](CouplingData& d) {
    d.startLoaded = 1;
    d.excitationSide = 1;
  };
  std::string page2Switched = kPage2;
  page2Switched.replace(page2Switched.find("Anfahren lastfrei"), 17, "Anfahren mit Last");
  page2Switched.replace(page2Switched.find("Anregung vom Antrieb"), 20,
                        "Anregung von Lastseite");
  const std::string p = kPager;
  EXPECT_EQ(kPage1 + p + "\n" + kPage2 + p + "\n" + kPage3 + p + "\n",
            display("   ", none));
  EXPECT_EQ(kPage1 + p, display("x", none));
  EXPECT_EQ(kPage1 + p + "\n" + kPage2 + p, display("\033[Bx", none));
  EXPECT_EQ(kPage1 + p + "\n" + kPage2 + p + "\n" + kPage3 + p, display("  x", none));
  EXPECT_EQ(kPage1 + p + "\n" + page2Switched + p, display(" x", switched));
}

}  // namespace
