// Physical data of each body, in Korean, as the information boxes show it.
#include "input/input.h"
#include "scene/scene.h"

namespace {

// Lines: radius (km), mass (10^24 kg), density (g/cm3), gravity (Earth = 1), rotation period,
// orbital period. Joined by single line feeds, none after the last.
#define BODY_TEXT(radius, mass, density, gravity, rotation, orbit)                                           \
    "반지름(Km) : " radius "\n"                                                                              \
    "질량(10*24승 Kg) : " mass "\n"                                                                          \
    "밀도(g/cm3) : " density "\n"                                                                            \
    "중력(지구=1) : " gravity "\n"                                                                           \
    "자전주기 : " rotation "\n"                                                                              \
    "공전주기 : " orbit

struct BodyInfoRow {
    MenuValue value;
    BodyInfo info;
};

constexpr BodyInfoRow bodyInfo[] = {
    {MENU_SUN, {"태양", BODY_TEXT("695,500", "1,989,000", "1.41", "28", "25.4일", "-")}},
    {MENU_MERCURY, {"수성", BODY_TEXT("2439.7", "0.330", "5.43", "0.38", "58.6일", "88.0일")}},
    {MENU_VENUS, {"금성", BODY_TEXT("6051.8", "4.87", "5.24", "0.91", "243일", "224.7일")}},
    {MENU_EARTH, {"지구", BODY_TEXT("6378.1", "5.97", "5.52", "1.00", "23.93시간", "365.24일")}},
    {MENU_MARS, {"화성", BODY_TEXT("3397", "0.642", "3.93", "0.38", "24.62시간", "1.88년")}},
    {MENU_JUPITER, {"목성", BODY_TEXT("71492", "1899", "1.33", "2.14", "9.93시간", "11.86년")}},
    {MENU_SATURN, {"토성", BODY_TEXT("60268", "568", "0.69", "0.74", "10.7시간", "29.4년")}},
    {MENU_URANUS, {"천왕성", BODY_TEXT("25559", "86.8", "1.27", "0.86", "17.2시간", "84.0년")}},
    {MENU_NEPTUNE, {"해왕성", BODY_TEXT("24764", "102", "1.64", "1.10", "16.1시간", "164.8년")}},
    {MENU_PLUTO, {"명왕성", BODY_TEXT("1151", "0.013", "2.0", "0.08", "6.4일", "247.9년")}},
};

#undef BODY_TEXT

static_assert(rowsFollow(bodyInfo, &BodyInfoRow::value, MENU_FIRST_BODY,
                         MENU_LAST_BODY - MENU_FIRST_BODY + 1));

} // namespace

const BodyInfo* bodyInfoForMenuValue(int value) {
    if (value < MENU_FIRST_BODY || value > MENU_LAST_BODY) return nullptr;
    return &bodyInfo[value - MENU_FIRST_BODY].info;
}
