#include "coupling/coupling_data.h"

void resetToDefaults(CouplingData& data) {
  data.TLN = 159;
  data.n = 1500;
  data.i = 2;
  data.JA = 2.3;
  data.JL = 1;
  data.excitationSide = 0;
  data.startLoaded = 0;
  data.TAS = 239;
  data.TAI = 80;
  data.TLS = 477;
  data.TLI = 0;
  data.TKN = 265;
  data.TKmax = 530;
  data.TKW = 69;
  data.Cdyn = 2689;
  data.psi = 0.8;
  data.PKW = 12;
  data.ST = 1.2;
  data.SS = 1.8;
  data.SZ = 1;
}
