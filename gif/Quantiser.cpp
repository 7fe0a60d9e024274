#include "gif/Quantiser.h"

#include <algorithm>
#include <cmath>

namespace {

// The histogram keeps 64 levels a channel; Wu's cuts work on 32, with a zero plane in front of
// each axis for the running sums.
constexpr int FineBits = 6;
constexpr std::size_t FineCells = std::size_t(1) << (3 * FineBits);
constexpr int Side = 33;
constexpr int KMeansRounds = 5;

inline std::size_t FineIndex(unsigned R, unsigned G, unsigned B) { return (R >> 2) << 12 | (G >> 2) << 6 | (B >> 2); }
inline int WuIndex(int R, int G, int B) { return (R * Side + G) * Side + B; }

struct TBox {
  int R0, R1, G0, G1, B0, B1;  // lower bounds exclusive, upper bounds inclusive
  int Volume() const { return (R1 - R0) * (G1 - G0) * (B1 - B0); }
};

enum TAxis { axRed, axGreen, axBlue };

// One moment (count, a channel sum or the squared length) of every box from the origin.
using TMomentTable = std::vector<double>;

}  // namespace

struct TColourHistogram::TMoments {
  // Per fine cell: pixel count, the three channel sums and the sum of squared lengths.
  std::vector<std::uint64_t> Count = std::vector<std::uint64_t>(FineCells);
  std::vector<std::uint64_t> Sum = std::vector<std::uint64_t>(FineCells * 3);
  std::vector<std::uint64_t> Squares = std::vector<std::uint64_t>(FineCells);
};

TColourHistogram::TColourHistogram() : FMoments(std::make_unique<TMoments>()) {}
TColourHistogram::~TColourHistogram() = default;

void TColourHistogram::Add(const TArgb* Pixels, std::size_t Count) {
  TMoments& M = *FMoments;
  for (std::size_t I = 0; I < Count; ++I) {
    const TArgb P = Pixels[I];
    if ((P >> 24) < OpaqueAlpha) {
      ++FTransparent;
      continue;
    }
    const unsigned R = P >> 16 & 0xFF, G = P >> 8 & 0xFF, B = P & 0xFF;
    const std::size_t Cell = FineIndex(R, G, B);
    ++M.Count[Cell];
    M.Sum[Cell * 3] += R;
    M.Sum[Cell * 3 + 1] += G;
    M.Sum[Cell * 3 + 2] += B;
    M.Squares[Cell] += R * R + G * G + B * B;
    ++FOpaque;
  }
}

namespace {

// Wu's cuts: the box of colours with the largest variance is cut where the two halves' variances
// sum to the least, until there are as many boxes as colours wanted.
class TWuCuts {
 public:
  TWuCuts(const std::vector<std::uint64_t>& Count, const std::vector<std::uint64_t>& Sum,
          const std::vector<std::uint64_t>& Squares);
  std::vector<TBox> Boxes(int MaxColours) const;
  // The mean colour of a box's pixels.
  TGifRgb Mean(const TBox& Box) const;

 private:
  double Volume(const TBox& Box, const TMomentTable& M) const;
  double Bottom(const TBox& Box, TAxis Axis, const TMomentTable& M) const;
  double Top(const TBox& Box, TAxis Axis, int Position, const TMomentTable& M) const;
  double Variance(const TBox& Box) const;
  double Maximize(const TBox& Box, TAxis Axis, int& Cut, const double Whole[4]) const;
  bool Cut(TBox& Set1, TBox& Set2) const;

  TMomentTable FW, FR, FG, FB, FM2;
};

TWuCuts::TWuCuts(const std::vector<std::uint64_t>& Count, const std::vector<std::uint64_t>& Sum,
                 const std::vector<std::uint64_t>& Squares)
    : FW(Side * Side * Side), FR(FW.size()), FG(FW.size()), FB(FW.size()), FM2(FW.size()) {
  for (std::size_t Cell = 0; Cell < FineCells; ++Cell) {
    if (!Count[Cell]) continue;
    const int R = int(Cell >> 12) >> 1, G = int(Cell >> 6 & 63) >> 1, B = int(Cell & 63) >> 1;
    const int I = WuIndex(R + 1, G + 1, B + 1);
    FW[I] += double(Count[Cell]);
    FR[I] += double(Sum[Cell * 3]);
    FG[I] += double(Sum[Cell * 3 + 1]);
    FB[I] += double(Sum[Cell * 3 + 2]);
    FM2[I] += double(Squares[Cell]);
  }
  // Running sums along blue, then green, then red.
  for (TMomentTable* M : {&FW, &FR, &FG, &FB, &FM2}) {
    TMomentTable& T = *M;
    for (int R = 1; R < Side; ++R)
      for (int G = 1; G < Side; ++G)
        for (int B = 1; B < Side; ++B) T[WuIndex(R, G, B)] += T[WuIndex(R, G, B - 1)];
    for (int R = 1; R < Side; ++R)
      for (int G = 1; G < Side; ++G)
        for (int B = 1; B < Side; ++B) T[WuIndex(R, G, B)] += T[WuIndex(R, G - 1, B)];
    for (int R = 1; R < Side; ++R)
      for (int G = 1; G < Side; ++G)
        for (int B = 1; B < Side; ++B) T[WuIndex(R, G, B)] += T[WuIndex(R - 1, G, B)];
  }
}

double TWuCuts::Volume(const TBox& X, const TMomentTable& M) const {
  return M[WuIndex(X.R1, X.G1, X.B1)] - M[WuIndex(X.R1, X.G1, X.B0)] - M[WuIndex(X.R1, X.G0, X.B1)] +
         M[WuIndex(X.R1, X.G0, X.B0)] - M[WuIndex(X.R0, X.G1, X.B1)] + M[WuIndex(X.R0, X.G1, X.B0)] +
         M[WuIndex(X.R0, X.G0, X.B1)] - M[WuIndex(X.R0, X.G0, X.B0)];
}

// The part of a box's moment that does not depend on its upper bound along Axis.
double TWuCuts::Bottom(const TBox& X, TAxis Axis, const TMomentTable& M) const {
  switch (Axis) {
    case axRed:
      return -M[WuIndex(X.R0, X.G1, X.B1)] + M[WuIndex(X.R0, X.G1, X.B0)] + M[WuIndex(X.R0, X.G0, X.B1)] -
             M[WuIndex(X.R0, X.G0, X.B0)];
    case axGreen:
      return -M[WuIndex(X.R1, X.G0, X.B1)] + M[WuIndex(X.R1, X.G0, X.B0)] + M[WuIndex(X.R0, X.G0, X.B1)] -
             M[WuIndex(X.R0, X.G0, X.B0)];
    default:
      return -M[WuIndex(X.R1, X.G1, X.B0)] + M[WuIndex(X.R1, X.G0, X.B0)] + M[WuIndex(X.R0, X.G1, X.B0)] -
             M[WuIndex(X.R0, X.G0, X.B0)];
  }
}

// The rest, with the upper bound along Axis moved to Position.
double TWuCuts::Top(const TBox& X, TAxis Axis, int P, const TMomentTable& M) const {
  switch (Axis) {
    case axRed:
      return M[WuIndex(P, X.G1, X.B1)] - M[WuIndex(P, X.G1, X.B0)] - M[WuIndex(P, X.G0, X.B1)] +
             M[WuIndex(P, X.G0, X.B0)];
    case axGreen:
      return M[WuIndex(X.R1, P, X.B1)] - M[WuIndex(X.R1, P, X.B0)] - M[WuIndex(X.R0, P, X.B1)] +
             M[WuIndex(X.R0, P, X.B0)];
    default:
      return M[WuIndex(X.R1, X.G1, P)] - M[WuIndex(X.R1, X.G0, P)] - M[WuIndex(X.R0, X.G1, P)] +
             M[WuIndex(X.R0, X.G0, P)];
  }
}

double TWuCuts::Variance(const TBox& Box) const {
  const double W = Volume(Box, FW);
  if (W <= 0) return 0;
  const double R = Volume(Box, FR), G = Volume(Box, FG), B = Volume(Box, FB);
  return Volume(Box, FM2) - (R * R + G * G + B * B) / W;
}

// The cut along Axis that leaves the two halves with the largest sum of squared-mean terms (the
// least summed variance); Cut is -1 when no cut leaves pixels on both sides.
double TWuCuts::Maximize(const TBox& Box, TAxis Axis, int& Cut, const double Whole[4]) const {
  const TMomentTable* Tables[4] = {&FR, &FG, &FB, &FW};
  double Base[4];
  for (int K = 0; K < 4; ++K) Base[K] = Bottom(Box, Axis, *Tables[K]);
  const int First = (Axis == axRed ? Box.R0 : Axis == axGreen ? Box.G0 : Box.B0) + 1;
  const int Last = Axis == axRed ? Box.R1 : Axis == axGreen ? Box.G1 : Box.B1;
  double Best = 0;
  Cut = -1;
  for (int I = First; I < Last; ++I) {
    double Half[4];
    for (int K = 0; K < 4; ++K) Half[K] = Base[K] + Top(Box, Axis, I, *Tables[K]);
    if (Half[3] <= 0) continue;
    const double RestW = Whole[3] - Half[3];
    if (RestW <= 0) continue;
    const double RestR = Whole[0] - Half[0], RestG = Whole[1] - Half[1], RestB = Whole[2] - Half[2];
    const double Score = (Half[0] * Half[0] + Half[1] * Half[1] + Half[2] * Half[2]) / Half[3] +
                         (RestR * RestR + RestG * RestG + RestB * RestB) / RestW;
    if (Score > Best) {
      Best = Score;
      Cut = I;
    }
  }
  return Best;
}

bool TWuCuts::Cut(TBox& Set1, TBox& Set2) const {
  const double Whole[4] = {Volume(Set1, FR), Volume(Set1, FG), Volume(Set1, FB), Volume(Set1, FW)};
  int CutR, CutG, CutB;
  const double MaxR = Maximize(Set1, axRed, CutR, Whole);
  const double MaxG = Maximize(Set1, axGreen, CutG, Whole);
  const double MaxB = Maximize(Set1, axBlue, CutB, Whole);
  Set2 = Set1;
  if (MaxR >= MaxG && MaxR >= MaxB) {
    if (CutR < 0) return false;
    Set2.R0 = Set1.R1 = CutR;
  } else if (MaxG >= MaxR && MaxG >= MaxB) {
    if (CutG < 0) return false;
    Set2.G0 = Set1.G1 = CutG;
  } else {
    if (CutB < 0) return false;
    Set2.B0 = Set1.B1 = CutB;
  }
  return true;
}

std::vector<TBox> TWuCuts::Boxes(int MaxColours) const {
  std::vector<TBox> Boxes{TBox{0, Side - 1, 0, Side - 1, 0, Side - 1}};
  std::vector<double> Score{Boxes[0].Volume() > 1 ? Variance(Boxes[0]) : 0};
  std::size_t Next = 0;
  while (int(Boxes.size()) < MaxColours) {
    TBox Second{};
    if (Cut(Boxes[Next], Second)) {
      Boxes.push_back(Second);
      Score[Next] = Boxes[Next].Volume() > 1 ? Variance(Boxes[Next]) : 0;
      Score.push_back(Second.Volume() > 1 ? Variance(Second) : 0);
    } else {
      Score[Next] = 0;  // cannot be cut: never tried again
    }
    Next = std::size_t(std::max_element(Score.begin(), Score.end()) - Score.begin());
    if (Score[Next] <= 0) break;
  }
  return Boxes;
}

TGifRgb TWuCuts::Mean(const TBox& Box) const {
  const double W = Volume(Box, FW);
  if (W <= 0) return TGifRgb{};
  auto Channel = [W](double Sum) { return std::uint8_t(std::clamp(std::lround(Sum / W), 0L, 255L)); };
  return TGifRgb{Channel(Volume(Box, FR)), Channel(Volume(Box, FG)), Channel(Volume(Box, FB))};
}

}  // namespace

TGifPalette TColourHistogram::Palette(int MaxColours) const {
  MaxColours = std::clamp(MaxColours, 1, 256);
  const TMoments& M = *FMoments;
  TGifPalette Palette;
  if (FOpaque == 0) return Palette;
  const TWuCuts Wu(M.Count, M.Sum, M.Squares);
  for (const TBox& Box : Wu.Boxes(MaxColours)) Palette.push_back(Wu.Mean(Box));
  // k-means rounds over the fine cells (each at its pixels' mean, weighted by their count) move
  // every colour to the mean of the pixels nearest to it.
  std::vector<std::size_t> Cells;
  for (std::size_t Cell = 0; Cell < FineCells; ++Cell)
    if (M.Count[Cell]) Cells.push_back(Cell);
  for (int Round = 0; Round < KMeansRounds; ++Round) {
    TNearestColour Nearest(Palette);
    std::vector<double> Sum(Palette.size() * 4);
    for (std::size_t Cell : Cells) {
      const double N = double(M.Count[Cell]);
      const int R = int(std::lround(double(M.Sum[Cell * 3]) / N)),
                G = int(std::lround(double(M.Sum[Cell * 3 + 1]) / N)),
                B = int(std::lround(double(M.Sum[Cell * 3 + 2]) / N));
      double* S = &Sum[std::size_t(Nearest.Find(R, G, B)) * 4];
      S[0] += N;
      S[1] += double(M.Sum[Cell * 3]);
      S[2] += double(M.Sum[Cell * 3 + 1]);
      S[3] += double(M.Sum[Cell * 3 + 2]);
    }
    bool Moved = false;
    for (std::size_t I = 0; I < Palette.size(); ++I) {
      const double* S = &Sum[I * 4];
      if (S[0] <= 0) continue;
      auto Channel = [&](double V) { return std::uint8_t(std::clamp(std::lround(V / S[0]), 0L, 255L)); };
      const TGifRgb Centre{Channel(S[1]), Channel(S[2]), Channel(S[3])};
      Moved = Moved || !(Centre == Palette[I]);
      Palette[I] = Centre;
    }
    if (!Moved) break;
  }
  return Palette;
}

// Nearest colour.

namespace {
constexpr int GridBits = 4;
constexpr int GridCells = 1 << (3 * GridBits);
constexpr std::uint32_t Unbuilt = 0xFFFFFFFFu;

inline int Squared(int V) { return V * V; }
}  // namespace

TNearestColour::TNearestColour(const TGifPalette& Palette)
    : FPalette(Palette), FFirst(GridCells, Unbuilt), FCount(GridCells) {}

void TNearestColour::BuildCell(int Cell) {
  const int Step = 256 >> GridBits;
  const int Lo[3] = {(Cell >> (2 * GridBits)) * Step, (Cell >> GridBits & ((1 << GridBits) - 1)) * Step,
                     (Cell & ((1 << GridBits) - 1)) * Step};
  // An entry can be nearest to a colour in the cell only if its least distance to the cell is no
  // more than the smallest greatest distance of any entry.
  std::vector<int> Least(FPalette.size());
  int Bound = INT32_MAX;
  for (std::size_t I = 0; I < FPalette.size(); ++I) {
    const int C[3] = {FPalette[I].R, FPalette[I].G, FPalette[I].B};
    int Near = 0, Far = 0;
    for (int K = 0; K < 3; ++K) {
      const int L = Lo[K], H = Lo[K] + Step - 1;
      Near += C[K] < L ? Squared(L - C[K]) : C[K] > H ? Squared(C[K] - H) : 0;
      Far += std::max(Squared(C[K] - L), Squared(C[K] - H));
    }
    Least[I] = Near;
    Bound = std::min(Bound, Far);
  }
  FFirst[Cell] = std::uint32_t(FCandidates.size());
  for (std::size_t I = 0; I < FPalette.size(); ++I)
    if (Least[I] <= Bound) FCandidates.push_back(std::uint8_t(I));
  FCount[Cell] = std::uint16_t(FCandidates.size() - FFirst[Cell]);
}

int TNearestColour::Find(int R, int G, int B) {
  const int Cell = (R >> (8 - GridBits)) << (2 * GridBits) | (G >> (8 - GridBits)) << GridBits | (B >> (8 - GridBits));
  if (FFirst[Cell] == Unbuilt) BuildCell(Cell);
  const std::uint8_t* Candidate = &FCandidates[FFirst[Cell]];
  int Best = Candidate[0], BestDistance = INT32_MAX;
  for (int I = 0; I < FCount[Cell]; ++I) {
    const TGifRgb& C = FPalette[Candidate[I]];
    const int D = Squared(R - C.R) + Squared(G - C.G) + Squared(B - C.B);
    if (D < BestDistance) {
      BestDistance = D;
      Best = Candidate[I];
    }
  }
  return Best;
}

// Mapping.

namespace {

std::vector<std::uint8_t> MapPlain(const TArgb* Pixels, std::size_t Count, TNearestColour& Nearest,
                                   int TransparentIndex) {
  std::vector<std::uint8_t> Out(Count);
  // Neighbouring pixels often repeat a colour: the last answer is kept.
  TArgb Last = 0;
  int LastIndex = -1;
  for (std::size_t I = 0; I < Count; ++I) {
    const TArgb P = Pixels[I];
    if ((P >> 24) < OpaqueAlpha) {
      Out[I] = std::uint8_t(std::max(TransparentIndex, 0));
      continue;
    }
    if (LastIndex < 0 || ((P ^ Last) & 0xFFFFFF) != 0) {
      Last = P;
      LastIndex = Nearest.Find(int(P >> 16 & 0xFF), int(P >> 8 & 0xFF), int(P & 0xFF));
    }
    Out[I] = std::uint8_t(LastIndex);
  }
  return Out;
}

// Floyd-Steinberg over alternate directions; errors are kept in sixteenths.
std::vector<std::uint8_t> MapDithered(const TArgb* Pixels, int Width, int Height, const TGifPalette& Palette,
                                      TNearestColour& Nearest, int TransparentIndex) {
  std::vector<std::uint8_t> Out(std::size_t(Width) * std::size_t(Height));
  std::vector<int> ThisRow(std::size_t(Width + 2) * 3), NextRow(ThisRow.size());
  for (int Y = 0; Y < Height; ++Y) {
    const bool Forward = (Y & 1) == 0;
    std::fill(NextRow.begin(), NextRow.end(), 0);
    for (int Step = 0; Step < Width; ++Step) {
      const int X = Forward ? Step : Width - 1 - Step;
      const std::size_t At = std::size_t(Y) * Width + X;
      const TArgb P = Pixels[At];
      if ((P >> 24) < OpaqueAlpha) {
        Out[At] = std::uint8_t(std::max(TransparentIndex, 0));
        continue;
      }
      int* Error = &ThisRow[std::size_t(X + 1) * 3];
      const int Want[3] = {std::clamp(int(P >> 16 & 0xFF) + ((Error[0] + 8) >> 4), 0, 255),
                           std::clamp(int(P >> 8 & 0xFF) + ((Error[1] + 8) >> 4), 0, 255),
                           std::clamp(int(P & 0xFF) + ((Error[2] + 8) >> 4), 0, 255)};
      const int Index = Nearest.Find(Want[0], Want[1], Want[2]);
      Out[At] = std::uint8_t(Index);
      const int Got[3] = {Palette[Index].R, Palette[Index].G, Palette[Index].B};
      const int Ahead = Forward ? 3 : -3;
      for (int K = 0; K < 3; ++K) {
        const int E = Want[K] - Got[K];
        Error[Ahead + K] += E * 7;
        NextRow[std::size_t(X + 1) * 3 - Ahead + K] += E * 3;
        NextRow[std::size_t(X + 1) * 3 + K] += E * 5;
        NextRow[std::size_t(X + 1) * 3 + Ahead + K] += E;
      }
    }
    std::swap(ThisRow, NextRow);
  }
  return Out;
}

}  // namespace

std::vector<std::uint8_t> MapToPalette(const TArgb* Pixels, int Width, int Height, const TGifPalette& Palette,
                                       bool Dither, int TransparentIndex) {
  const std::size_t Count = std::size_t(std::max(Width, 0)) * std::size_t(std::max(Height, 0));
  if (Palette.empty()) return std::vector<std::uint8_t>(Count, std::uint8_t(std::max(TransparentIndex, 0)));
  TNearestColour Nearest(Palette);
  return Dither ? MapDithered(Pixels, Width, Height, Palette, Nearest, TransparentIndex)
                : MapPlain(Pixels, Count, Nearest, TransparentIndex);
}
