#include "view/rider/RiderMotionSet.h"

RiderMotionSet g_riderMotionSet;

// Flags 9 are the slides, 10 the other falls, 6 the clips that move the bike, 2 the rest.
const std::array<RiderClip, kRiderClipCount> kRiderClips = {{
    {"motions/langsamer_rutsch/rutsch_1_27,5", 9, 15.0f},
    {"motions/langsamer_rutsch/rutsch_1_55", 9, 15.0f},
    {"motions/schneller_rutscher/rutsch_2_27,5", 9, 30.0f},
    {"motions/schneller_rutscher/rutsch_2_55", 9, 30.0f},
    {"motions/schlenker/125/schlenker_1_neu_3", 6, 30.0f},
    {"motions/jubeln/125/jubeln_1", 2, 20.0f},
    {"motions/jubeln/125/jubeln_2", 2, 20.0f},
    {"motions/jubeln/125/jubeln_3", 2, 20.0f},
    {"motions/jubeln/125/jubeln_4", 2, 20.0f},
    {"motions/start & stop/start_m_1B", 2, 30.0f},
    {"motions/start & stop/start_m_2B", 2, 30.0f},
    {"motions/start & stop/stopp_m_1B", 2, 30.0f},
    {"motions/start & stop/stopp_m_2B", 2, 30.0f},
    {"motions/start & stop/stopp_m_Abst", 10, 15.0f},
    {"motions/spezial/bekloppt", 2, 10.0f},
    {"motions/spezial/drohen", 2, 10.0f},
    {},
    {},
    {"motions/spezial/bs2/boxenstop_mech1", 2, 18.0f},
    {"motions/spezial/bs2/boxenstop_mech2", 2, 18.0f},
    {"motions/spezial/bs2/boxenstop_fahrer", 6, 18.0f},
    {"motions/spezial/bs3/boxenstop_mech1", 2, 18.0f},
    {"motions/spezial/bs3/boxenstop_mech2", 2, 18.0f},
    {"motions/spezial/bs3/boxenstop_fahrer", 6, 18.0f},
    {"motions/spezial/bs4/boxenstop_mech1", 2, 18.0f},
    {"motions/spezial/bs4/boxenstop_mech2", 2, 18.0f},
    {"motions/spezial/bs4/boxenstop_fahrer", 6, 18.0f},
    {"motions/spezial/bs5/boxenstop_mech1", 2, 18.0f},
    {"motions/spezial/bs5/boxenstop_mech2", 2, 18.0f},
    {"motions/spezial/bs5/boxenstop_fahrer", 6, 18.0f},
    {"motions/Nach_hinten/125/Hinten_runter", 10, 18.0f},
    {"motions/\xDC"
     "ber_Lenker/125/abstieg_\xFC"
     "_l",
     10, 18.0f},
}};

void LoadRiderMotions(RiderMotionSet& set)
{
    for (size_t id = 0; id < kRiderClipCount; ++id)
    {
        const RiderClip& clip = kRiderClips[id];
        set[id].Clear();
        if (!clip.file.empty())
        {
            set[id].Load(clip.file, clip.flags, clip.rate, 0);
        }
    }
}
