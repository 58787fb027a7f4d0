// The deck itself: one row per slide image, with the demo files each slide links to.
//
// Kept in one rigid shape (one record per line, named arrays, one row per line) because
// tools/deckgen reads this file to draw the slides and write the demo files; the deck's
// names live here and nowhere else.
//
// Positions are fractions of the slide: x from the left, y upward from the bottom.
// Hotspots that stand side by side share one y value exactly, so their markers line up.
// A leading '!' asks the simulator to run the circuit as soon as it is open: it marks
// the circuits that are shown live during the talk.
#include "deck/deck.h"

#include <cstddef>

namespace {

// Ties a row's hotspot count to its array, so the two cannot drift apart.
template <std::size_t N>
constexpr int CountOf(const Hotspot (&)[N]) {
    return static_cast<int>(N);
}

// The title slide: the tour's cities in four columns, each name linked to a photo.
// Duxford was added to the tour late and sits at the far right of its row.
constexpr Hotspot kTitleSpots[] = {
    {0.2, 0.82, L"Aachen.jpg"},
    {0.2, 0.758, L"Amsterdam.jpg"},
    {0.2, 0.696, L"Antwerp.jpg"},
    {0.2, 0.634, L"Athens.jpg"},
    {0.2, 0.572, L"Barcelona.jpg"},
    {0.2, 0.51, L"Berlin.jpg"},
    {0.2, 0.447, L"Boston.jpg"},
    {0.2, 0.385, L"Budapest.jpg"},
    {0.208, 0.322, L"Copenhagen.jpg"},
    {0.2, 0.26, L"Dublin.jpg"},
    {0.2, 0.198, L"Edinburgh.jpg"},
    {0.2, 0.136, L"Eindhoven.jpg"},
    {0.45, 0.82, L"Florence.jpg"},
    {0.45, 0.758, L"Geneva.jpg"},
    {0.45, 0.696, L"Grenoble.jpg"},
    {0.45, 0.634, L"Hamburg.jpg"},
    {0.45, 0.572, L"Helsinki.jpg"},
    {0.45, 0.51, L"Istanbul.jpg"},
    {0.45, 0.447, L"Krakow.jpg"},
    {0.45, 0.385, L"Kyoto.jpg"},
    {0.45, 0.322, L"Lisbon.jpg"},
    {0.45, 0.26, L"London.jpg"},
    {0.45, 0.198, L"Lyon.jpg"},
    {0.45, 0.136, L"Madrid.jpg"},
    {0.7, 0.82, L"Milan.jpg"},
    {0.7, 0.758, L"Munich.jpg"},
    {0.7, 0.696, L"Oslo.jpg"},
    {0.7, 0.634, L"Paris.jpg"},
    {0.7, 0.572, L"Prague.jpg"},
    {0.7, 0.51, L"Rome.jpg"},
    {0.7, 0.447, L"Seoul.jpg"},
    {0.7, 0.385, L"Shanghai.jpg"},
    {0.7, 0.322, L"Singapore.jpg"},
    {0.7, 0.26, L"Stockholm.jpg"},
    {0.7, 0.198, L"Stuttgart.jpg"},
    {0.7, 0.136, L"Taipei.jpg"},
    {0.93, 0.82, L"Tallinn.jpg"},
    {0.93, 0.758, L"Tokyo.jpg"},
    {0.93, 0.696, L"Toronto.jpg"},
    {0.93, 0.634, L"Turin.jpg"},
    {0.93, 0.572, L"Valencia.jpg"},
    {0.93, 0.51, L"Vienna.jpg"},
    {0.93, 0.447, L"Warsaw.jpg"},
    {0.93, 0.385, L"Zurich.jpg"},
    {0.996, 0.26, L"Duxford.jpg"},
};

constexpr Hotspot kCirceloVexaSpots[] = {
    {0.9, 0.11, L"UNICODE.asc"},
};

constexpr Hotspot kDraftDiySpots[] = {
    {0.62, 0.2, L"DIYsymbol.asc"},
};

constexpr Hotspot kDirectoriesSpots[] = {
    {0.5, 0.72, L"!astable.asc"},
    {0.5, 0.625, L"NE555.asc"},
    {0.5, 0.53, L"curvetrace.asc"},
    {0.5, 0.435, L"VmodeVsImode.asc"},
    {0.5, 0.34, L"Bandgap.asc"},
    {0.85, 0.72, L"!Colpitts.asc"},
    {0.85, 0.625, L"opamp.asc"},
    {0.85, 0.53, L"!Buck.asc"},
    {0.85, 0.435, L"LDO.asc"},
};

constexpr Hotspot kWaveformsSpots[] = {
    {0.85, 0.86, L"!xprobe.asc"},
    {0.85, 0.76, L"Cursors.asc"},
    {0.85, 0.66, L"!FFT.asc"},
    {0.85, 0.56, L"Bode.asc"},
    {0.85, 0.42, L"Compression.asc"},
    {0.85, 0.33, L"Histogram.asc"},
    {0.85, 0.24, L"!BaseBandEye.asc"},
    {0.88, 0.24, L"!Eye2.asc"},
    {0.85, 0.15, L"Families.asc"},
};

constexpr Hotspot kModeledSpots[] = {
    {0.45, 0.7, L"!DiodeRecovery.asc"},
    {0.45, 0.6, L"MOSFETcap.asc"},
    {0.45, 0.5, L"!BJTsat.asc"},
    {0.45, 0.4, L"Varistor.asc"},
    {0.45, 0.3, L"SelfHeating.asc"},
};

constexpr Hotspot kNotModeledSpots[] = {
    {0.7, 0.3, L"Leakage.asc"},
};

// One worked example serves all seven case slides.
constexpr Hotspot kCaseSpots[] = {
    {0.8, 0.015, L"!CaseStudy.asc"},
};

constexpr Hotspot kSmallSigSpots[] = {
    {0.45, 0.8, L"ACgain.asc"},
    {0.45, 0.72, L"!Zin.asc"},
    {0.45, 0.64, L"Zout.asc"},
    {0.45, 0.56, L"!LoopGain.asc"},
    {0.45, 0.48, L"Middlebrook.asc"},
    {0.45, 0.4, L"!VmodeVsImode.asc"},
    {0.45, 0.32, L"PSRR.asc"},
    {0.45, 0.24, L"CMRR.asc"},
    {0.9, 0.8, L"!Noise.asc"},
    {0.9, 0.72, L"NoiseFig.asc"},
    {0.9, 0.64, L"TF.asc"},
    {0.9, 0.56, L"Sparam.asc"},
    {0.9, 0.48, L"PoleZero.asc"},
    {0.9, 0.4, L"!Stability.asc"},
    {0.9, 0.32, L"Tian.asc"},
    {0.9, 0.24, L"Crystal.asc"},
};

constexpr Hotspot kManualSpots[] = {
    {0.47, 0.25, L"English.pdf"},
    {0.53, 0.25, L"Hebrew.pdf"},
};

constexpr Hotspot kGminSpots[] = {
    {0.7, 0.45, L"!Gmin.asc"},
};

constexpr Hotspot kBehavioralSpots[] = {
    {0.55, 0.7, L"PLL.asc"},
    {0.55, 0.6, L"!Bsource.asc"},
    {0.55, 0.5, L"Table.asc"},
    {0.55, 0.4, L"!Laplace.asc"},
    {0.55, 0.3, L"VCO.asc"},
};

constexpr Hotspot kMixModeEgSpots[] = {
    {0.8, 0.015, L"!PLL.asc"},
};

constexpr Hotspot kTwoPhaseSpots[] = {
    {0.8, 0.015, L"!TwoPhase.asc"},
};

constexpr Hotspot kGappedSpots[] = {
    {0.8, 0.015, L"Gapped.asc"},
};

constexpr Hotspot kIndSatSpots[] = {
    {0.8, 0.015, L"!IndSat.asc"},
};

constexpr Hotspot kSatDesignSpots[] = {
    {0.8, 0.015, L"SatDesign.asc"},
};

constexpr Hotspot kXformSpots[] = {
    {0.75, 0.015, L"xform.asc"},
    {0.8, 0.015, L"!xform2.asc"},
};

constexpr Hotspot kMultiWindSpots[] = {
    {0.35, 0.3, L"Flyback.asc"},
    {0.6, 0.3, L"Forward.asc"},
    {0.8, 0.015, L"!MultiWind.asc"},
};

constexpr Hotspot kQgateSpots[] = {
    {0.8, 0.015, L"!Qgate.asc"},
};

constexpr Hotspot kNotWorstSpots[] = {
    {0.45, 0.2, L"!MonteCarlo.asc"},
    {0.7, 0.2, L"WorstCase.asc"},
};

constexpr Hotspot kThirdPartySpots[] = {
    {0.638, 0.7, L"VendorOpamp.asc"},
    {0.638, 0.6, L"Encrypted.asc"},
    {0.638, 0.5, L"SubcktWrap.asc"},
    {0.638, 0.4, L"ACME.net"},
    {0.638, 0.3, L"IBISbuffer.asc"},
};

constexpr Hotspot kBewareSpots[] = {
    {0.3, 0.25, L"Ideal.asc"},
    {0.6, 0.25, L"Realistic.asc"},
};

constexpr Hotspot kMisc1Spots[] = {
    {0.3, 0.76, L"DotMeas.asc"},
    {0.3, 0.68, L"DotStep.asc"},
    {0.3, 0.6, L"DotFour.asc"},
    {0.3, 0.52, L"DotParam.asc"},
    {0.3, 0.44, L"DotFunc.asc"},
    {0.3, 0.36, L"DotSave.asc"},
    {0.3, 0.28, L"DotIC.asc"},
    {0.3, 0.2, L"DotNodeset.asc"},
    {0.679, 0.76, L"anno.raw"},
    {0.679, 0.68, L"Annotate.asc"},
    {0.679, 0.6, L"Bookmarks.asc"},
    {0.679, 0.52, L"Hierarchy.asc"},
    {0.714, 0.326, L"siren.wav"},
    {0.749, 0.326, L"!ImportSiren.asc"},
    {0.714, 0.2, L"Output.wav"},
    {0.749, 0.2, L"WaveOut.asc"},
};

constexpr Hotspot kMisc2Spots[] = {
    {0.96, 0.9, L"Preferences.asc"},
    {0.1, 0.7, L"RLC.asc"},
    {0.1, 0.6, L"Ladder.asc"},
    {0.1, 0.5, L"Fuse.asc"},
    {0.5, 0.7, L"DotMeas.asc"},
    {0.5, 0.6, L"Hysteresis.asc"},
    {0.5, 0.5, L"Relay.asc"},
    {0.5, 0.4, L"Thermistor.asc"},
    {0.8, 0.5, L"Bench.jpg"},
    {0.8, 0.4, L"Lamp.asc"},
};

constexpr Hotspot kHelpDocSpots[] = {
    {0.8, 0.015, L"CirceloHelp.chm"},
};

}  // namespace

// nNumber holds the enabled flag until NumberSlides turns it into the print number.
SlidePage g_slideDeck[SLIDE_COUNT] = {
    {1, L"Title.png", CountOf(kTitleSpots), kTitleSpots},
    {1, L"Concerns.png", 0, nullptr},
    {1, L"TimeLine2.png", 0, nullptr},
    {1, L"CirceloVexa.png", CountOf(kCirceloVexaSpots), kCirceloVexaSpots},
    {1, L"DraftDIY.png", CountOf(kDraftDiySpots), kDraftDiySpots},
    {1, L"Directories.png", CountOf(kDirectoriesSpots), kDirectoriesSpots},
    {1, L"Resources.png", 0, nullptr},
    {1, L"Waveforms.png", CountOf(kWaveformsSpots), kWaveformsSpots},
    {1, L"Modeled.png", CountOf(kModeledSpots), kModeledSpots},
    {1, L"NotModeled.png", CountOf(kNotModeledSpots), kNotModeledSpots},
    {1, L"DKmodeled.png", 0, nullptr},
    {1, L"Case1.png", CountOf(kCaseSpots), kCaseSpots},
    {1, L"Case2.png", CountOf(kCaseSpots), kCaseSpots},
    {1, L"Case3.png", CountOf(kCaseSpots), kCaseSpots},
    {1, L"Case4.png", CountOf(kCaseSpots), kCaseSpots},
    {1, L"Case5.png", CountOf(kCaseSpots), kCaseSpots},
    {1, L"Case6.png", CountOf(kCaseSpots), kCaseSpots},
    {1, L"Case7.png", CountOf(kCaseSpots), kCaseSpots},
    {1, L"SmallSig.png", CountOf(kSmallSigSpots), kSmallSigSpots},
    {1, L"2.png", CountOf(kManualSpots), kManualSpots},
    {0, L"3.png", 0, nullptr},
    {1, L"New5.png", 0, nullptr},
    {1, L"6.png", 0, nullptr},
    {1, L"DisconValue.png", 0, nullptr},
    {1, L"DisconSlope.png", 0, nullptr},
    {1, L"4.png", 0, nullptr},
    {1, L"8.png", 0, nullptr},
    {0, L"9.png", 0, nullptr},
    {0, L"10.png", 0, nullptr},
    {0, L"11.png", 0, nullptr},
    {0, L"12.png", 0, nullptr},
    {0, L"13.png", 0, nullptr},
    {1, L"14.png", 0, nullptr},
    {0, L"15.png", 0, nullptr},
    {1, L"16.png", 0, nullptr},
    {1, L"17.png", 0, nullptr},
    {1, L"18.png", CountOf(kGminSpots), kGminSpots},
    {1, L"19.png", 0, nullptr},
    {1, L"20.png", 0, nullptr},
    {1, L"21.png", 0, nullptr},
    {1, L"22.png", 0, nullptr},
    {1, L"23.png", 0, nullptr},
    {1, L"24.png", 0, nullptr},
    {1, L"25.png", 0, nullptr},
    {1, L"26.png", 0, nullptr},
    {1, L"27.png", 0, nullptr},
    {1, L"28.png", 0, nullptr},
    {1, L"Behavioral.png", CountOf(kBehavioralSpots), kBehavioralSpots},
    {1, L"MixModeEg.png", CountOf(kMixModeEgSpots), kMixModeEgSpots},
    {1, L"MixMode.png", 0, nullptr},
    {1, L"TwoPhase.png", CountOf(kTwoPhaseSpots), kTwoPhaseSpots},
    {1, L"Chan.png", 0, nullptr},
    {1, L"Gapped.png", CountOf(kGappedSpots), kGappedSpots},
    {1, L"IndSat.png", CountOf(kIndSatSpots), kIndSatSpots},
    {1, L"SatDesign.png", CountOf(kSatDesignSpots), kSatDesignSpots},
    {1, L"xform.png", CountOf(kXformSpots), kXformSpots},
    {1, L"MultiWind.png", CountOf(kMultiWindSpots), kMultiWindSpots},
    {1, L"SMSPspecial.png", 0, nullptr},
    {1, L"VDMOS.png", 0, nullptr},
    {1, L"CirceloVDMOS.png", 0, nullptr},
    {1, L"Qgate.png", CountOf(kQgateSpots), kQgateSpots},
    {1, L"NotWorst.png", CountOf(kNotWorstSpots), kNotWorstSpots},
    {1, L"3rdParty.png", CountOf(kThirdPartySpots), kThirdPartySpots},
    {1, L"Beware.png", CountOf(kBewareSpots), kBewareSpots},
    {1, L"Misc1.png", CountOf(kMisc1Spots), kMisc1Spots},
    {1, L"Misc2.png", CountOf(kMisc2Spots), kMisc2Spots},
    {1, L"HelpDoc.png", CountOf(kHelpDocSpots), kHelpDocSpots},
    {1, L"FieldSync.png", 0, nullptr},
    {1, L"Thanks.png", 0, nullptr},
};
