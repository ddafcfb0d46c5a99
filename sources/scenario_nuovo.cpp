#include "sources/scenario_nuovo.h"

namespace {

// Rows ended by '\n' as CR LF, as the writers end them.
std::string con_crlf(std::string_view testo) {
  std::string out;
  out.reserve(testo.size() + testo.size() / 16);
  for (const char c : testo) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// The comments name no keyword of a row (the parsers find keywords inside any
// field), hold no comma (it would split them) and, in the bodies, no hyphen.
constexpr std::string_view linea = R"([ Starter line source written by scenario new: a line of 12 km. ]
[ A comment is a field of its own in square brackets: on a line of its own ]
[ or after the last value of a row with a comma before it. It holds no comma ]
[ and no word that names a row. In the general section it starts with a ]
[ hyphen. Everything is told in docs/linea.md. Positions are metres from the ]
[ start of the route; the route is laid on cells of 50 m. ]
[generale]
-[ Route length in metres: 0 to 1000000. It sizes the grid of 50 m cells. ]
lunghezza percorso,    12000
-[ Kilometre references FIRST SECOND THIRD: from route position FIRST on the ]
-[ line's own kilometre is SECOND metres there; both multiples of 50. A THIRD ]
-[ of 1 adds 100 m to SECOND. All three at 0 0 0: kilometres count from the ]
-[ start of the route. ]
progressiva chilometrica uno,    0,    0,    0
progressiva chilometrica due,    0,    0,    0
progressiva chilometrica tre,    0,    0,    0
-[ Scenery backgrounds: whole numbers stored for the simulator as given. ]
sfondo uno,    1
sfondo due,    0
sfondo tre,    0
-[ Cab signal repetition from START to END in metres (multiples of 50) with ]
-[ the 4 or 9 codes that its keyword names; an END of 0 means none. ]
ripetizione segnali 4 codici,    0,    12000
[curve]
[ A curve: START and LENGTH in metres. In its keyword d turns right and s ]
[ left; the digit 1 to 6 is its class: the heading turns about 0.0001 0.0002 ]
[ 0.0004 0.001 0.002 or 0.003 radians a metre. Curves in route order and ]
[ apart: the track runs straight between them. ]
curvad2,    1500,    400,   [ a gentle right after the first station ]
curvas3,    4600,    600,   [ left at the tunnel's mouth ]
curvad4,    7000,    300,   [ a tight right ]
curvas2,    9600,    500
[pendenze]
[ A gradient: POSITION and the gradient from there on in per mille (positive ]
[ climbing; stored exactly from minus 100 to 155). Level before the first. ]
[ In route order. ]
pendenza,       0,    0,   [ level through the first station ]
pendenza,    2000,    6,   [ climbing ]
pendenza,    3800,   12,   [ steeper through the tunnel ]
pendenza,    4800,    4
pendenza,    6500,   -5,   [ falling to the second stop ]
pendenza,    9500,    0,   [ level to the end ]
[montagne]
[ A tunnel: START END and TYPE. TYPE 1 to 10 is stored as given; 11 to 20 is ]
[ the type less 10 with a marker every 200 m (11: type 1 marked). A span that ]
[ starts 150 m or less after the one before it ends is stored as type 3. ]
montagna,    3800,    4800,   11,   [ one kilometre of tunnel ]
[cartelli]
[ A board of maximum speeds at POSITION: the first side's speeds A B C in km/h ]
[ and its stripes; then the second side's speeds and stripes. Speeds in ]
[ multiples of 5 below 500 and stripes 0 to 9 stay apart in the cell. The ]
[ train's line limit here is the speed C. It stands in cell POSITION/50 + 1. ]
indicatori_vmax,     950,  110,  120,  130,  0,  110,  120,  130,  0
indicatori_vmax,    3650,  100,  105,  110,  0,  100,  105,  110,  0
indicatori_vmax,    5450,  110,  120,  130,  0,  110,  120,  130,  0
indicatori_vmax,    7450,   90,   95,  100,  0,   90,   95,  100,  0
indicatori_vmax,    8750,  110,  120,  130,  0,  110,  120,  130,  0
indicatori_vmax,   10450,   90,   95,  100,  0,   90,   95,  100,  0
[indicazioni]
[ A kilometre board: POSITION and the text it shows (up to the end of the ]
[ line or a comma). It stands in cell POSITION/50 + 1: 50 m further on. ]
cartello_indicatore,    1950,   (Km 2+000)
cartello_indicatore,    5950,   (Km 6+000)
cartello_indicatore,    9950,   (Km 10+000)
[fine]
)";

constexpr std::string_view treno = R"([ Starter train source written by scenario new: a train over the line of ]
[ 12 km that stops at three of its four stations. A comment is a field of its ]
[ own in square brackets: on a line of its own or after the last value of a ]
[ row with a comma before it. It holds no comma and no word that names a row. ]
[ Everything is told in docs/treno.md. Positions are metres from the start ]
[ of the route; the route is laid on cells of 50 m. ]
[generale]
[ Number of cars: a whole number (the fastest run counts 26.4 m a car). ]
numero vetture,    6
[ Braked mass in per cent of the train's mass: trains in service 30 to 200. ]
percentuale massa frenata,    120
[ Sand carried: 0 to 32767 as the simulator counts it (the packer's own: 200). ]
sabbia,    200
[ The clock when the run begins: hours 0 to 23 then minutes and seconds. ]
orologio,    7,   59,   30
[aderenze]
[ Adhesion from POSITION on: 0 to 255 (the packer's own train keeps 100). ]
aderenza,       0,    100
[vel_limite]
[ The line limit in km/h from POSITION on. Each cell keeps it divided by 5: ]
[ give multiples of 5 up to 1275. Begin at 0 and keep route order. ]
velocita,       0,   100,   [ out of the first station ]
velocita,     900,   130
velocita,    3600,   110,   [ the tunnel ]
velocita,    5400,   130
velocita,    7400,   100,   [ through the second stop ]
velocita,    8700,   130
velocita,   10400,   100,   [ into the last station ]
[stazioni]
[ A station: POSITION (a multiple of 50) KIND (0 to 255) LENGTH in metres (a ]
[ multiple of 100) then ten values kept for the simulator as written (here as ]
[ the packer's own train writes them) then the time of day HOURS (0 to 23) ]
[ MINUTES SECONDS and the NAME. A time makes it a stop: the first stop's is ]
[ the departure and the last one's the arrival; 0 0 0 is a station passed. ]
[ KIND below 25 lays a point at the end of its span (5 to 8 reach back LENGTH ]
[ metres); 25 and up touch no cell. In route order with 350 m or more between ]
[ spans. ]
stazione,       0,   8,  500,  1, 0, 0,  4, 1, 0,  2, 1, 1,   1,   8,  0,  0, VALDRESA,   [ the origin: leaves at 08:00 ]
stazione,    3000,  12,  400,  0, 0, 0,  1, 1, 0,  4, 1, 1,   0,   0,  0,  0, BORGO FIORINO,   [ passed ]
stazione,    8000,  12,  500,  0, 0, 0,  1, 1, 0,  4, 1, 1,  99,   8,  9,  0, CASTELNERO,   [ a stop: leaves at 08:09 ]
stazione,   11000,   2,  600,  1, 0, 0,  1, 1, 0,  2, 1, 1,   0,   8, 12,  0, PIANALTA,   [ the end: arrives at 08:12 ]
[rallentamenti]
[ A slow order: START then SPEED in km/h (below 110 the packer adds points ]
[ along it) then LENGTH in metres then 1 if the whole train keeps to the speed ]
[ until its tail clears the end (else 0) then 1 to lay four count cells ]
[ before its warning board (which stands 1200 m before START) then a second ]
[ speed (0: none; the packer's own train repeats SPEED). ]
rallentamento,    6000,    60,   400,  0,  1,  60,   [ works after the tunnel ]
[segnali]
[ A signal: POSITION then SX S1 S2 S3 RAPP DX D1 D2 D3 TEMPO. SX and DX are ]
[ 0 to 2; the codes 0 to 9 are kept for the simulator (here as the packer's ]
[ own train writes them). TEMPO counts only when SX is 2: 1 to 100 becomes ]
[ 101. It stands in cell POSITION/50 + 1 and marks the four cells 100 to ]
[ 400 m before it; keep 400 m clear of other signals and stations' marks. ]
segnale,    1000,   2, 4, 1, 0,  0,   1, 3, 1, 0,   0,   [ leaving VALDRESA ]
segnale,    2300,   2, 4, 1, 1,  0,   2, 2, 1, 1,   0,   [ before BORGO FIORINO ]
segnale,    3600,   2, 4, 0, 0,  0,   2, 1, 0, 0,   0,   [ after it ]
segnale,    7300,   2, 4, 1, 1,  0,   2, 2, 1, 1,   0,   [ before CASTELNERO ]
segnale,    8700,   2, 4, 1, 0,  0,   1, 3, 1, 0,   0,   [ leaving it ]
segnale,   10200,   2, 4, 1, 1,  0,   2, 2, 1, 1,   0,   [ before PIANALTA ]
[fine]
)";

}  // namespace

std::string linea_nuova() { return con_crlf(linea); }

std::string treno_nuovo() { return con_crlf(treno); }
