// The GIF codec against its peers, each figure from the same inputs side by side, taking turns:
//   gif_decode_vs_giflib: processor time to read a set of GIFs and decode every frame to its indices
//     over giflib's for the same set, for files this codec wrote (_own) and files other programs
//     wrote (_others: ImageMagick when it is there, and any given with --gifs); the larger of the two;
//   gif_encode_size_vs_giflib: bytes written for the same paletted frames over giflib's bytes;
//   gif_encode_vs_giflib: processor time to write the same paletted frames (a 6-megapixel picture
//     and every frame of the decoding set) over giflib's time;
//   gif_bomb_peak_mb: peak resident memory of a process that reads eight 8192 x 8192 frames of one
//     colour (a file of a few hundred kilobytes) and composes every one of them;
//   gif_quantise_psnr_vs_imagemagick: PSNR of true-colour pictures reduced to 256 colours, less
//     ImageMagick's ("convert -colors 256", plain and with "-dither FloydSteinberg"), the lesser of
//     the two differences (each is also printed);
//   gif_quantise_ms_per_mpixel, gif_dither_ms_per_mpixel: processor time of palette and mapping.
// Options: --rounds N (5), --gifs DIR (more GIF files to decode), --photos FILE... (more pictures to
// quantise, read through ImageMagick), --convert PATH (ImageMagick's convert).
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/gif/BenchPictures.h"
#include "bench/gif/GiflibPeer.h"
#include "gif/GifCompositor.h"
#include "gif/GifFrameDecoder.h"
#include "gif/GifReader.h"
#include "gif/GifWriter.h"
#include "gif/Quantiser.h"

namespace {

namespace fs = std::filesystem;

struct TOptions {
  int Rounds = 5;
  std::string GifFolder;
  std::vector<std::string> Photos;
  std::string Convert = fs::exists("/usr/bin/convert") ? "/usr/bin/convert" : "convert";
};

double CpuSeconds() {
  timespec Now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &Now);
  return double(Now.tv_sec) + double(Now.tv_nsec) * 1e-9;
}

std::vector<std::uint8_t> ReadFile(const fs::path& Path) {
  std::ifstream In(Path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

// The standard output of a command, or empty when it fails.
std::vector<std::uint8_t> Run(const std::string& Command) {
  std::vector<std::uint8_t> Out;
  FILE* Pipe = popen((Command + " 2>/dev/null").c_str(), "r");
  if (!Pipe) return Out;
  std::uint8_t Buffer[65536];
  for (std::size_t N; (N = fread(Buffer, 1, sizeof(Buffer), Pipe)) > 0;) Out.insert(Out.end(), Buffer, Buffer + N);
  if (pclose(Pipe) != 0) Out.clear();
  return Out;
}

std::string Quoted(const std::string& Text) { return "'" + Text + "'"; }

struct TPhoto {
  std::string Name;
  int Width = 0, Height = 0;
  std::vector<std::uint8_t> Rgb;  // 3 bytes a pixel
};

std::vector<TArgb> ArgbOfRgb(const std::vector<std::uint8_t>& Rgb) {
  std::vector<TArgb> Out(Rgb.size() / 3);
  for (std::size_t I = 0; I < Out.size(); ++I)
    Out[I] = 0xFF000000u | TArgb(Rgb[I * 3]) << 16 | TArgb(Rgb[I * 3 + 1]) << 8 | Rgb[I * 3 + 2];
  return Out;
}

double Psnr(const std::vector<std::uint8_t>& A, const std::vector<std::uint8_t>& B) {
  if (A.size() != B.size() || A.empty()) return 0;
  double Sum = 0;
  for (std::size_t I = 0; I < A.size(); ++I) Sum += double(int(A[I]) - int(B[I])) * double(int(A[I]) - int(B[I]));
  return Sum == 0 ? 99 : 10 * std::log10(255.0 * 255.0 * double(A.size()) / Sum);
}

// Decoding: two sets, files this codec wrote and files other programs wrote (ImageMagick, and any
// given with --gifs); every frame of each read and decoded to its indices, ours and giflib's times
// (the best round of each).

struct TDecodeSets {
  std::vector<std::vector<std::uint8_t>> Own, Others;
};

void WritePpm(const std::string& Path, int Width, int Height, const std::vector<TArgb>& Pixels) {
  std::ofstream Out(Path, std::ios::binary);
  Out << "P6\n" << Width << " " << Height << "\n255\n";
  for (TArgb P : Pixels) Out << char(P >> 16) << char(P >> 8) << char(P);
}

TDecodeSets DecodeSets(const TOptions& Options, const fs::path& Work) {
  TDecodeSets Sets;
  for (unsigned Seed = 1; Seed <= 4; ++Seed) {
    TGifEncodeOptions Dithered;
    Dithered.Dither = Seed % 2 == 0;
    Dithered.Interlaced = Seed == 3;
    Sets.Own.push_back(EncodeGif({PhotoFrame(1600, 1200, Seed)}, Dithered));
  }
  for (unsigned Seed = 5; Seed <= 6; ++Seed) Sets.Own.push_back(WriteGif(FlatGraphic(2000, 1500, 16, Seed)));
  Sets.Own.push_back(EncodeGif(AnimationFrames(320, 240, 100, 7)));
  // The same kinds of picture made by ImageMagick, when it is there.
  const std::string Photo = (Work / "photo.ppm").string();
  WritePpm(Photo, 1600, 1200, SyntheticPhoto(1600, 1200, 1));
  const std::string Sources[] = {"-seed 9 -size 1200x900 plasma:fractal -colors 256", Quoted(Photo) + " -colors 256",
                                 Quoted(Photo) + " +dither -colors 256", Quoted(Photo) + " -interlace GIF -colors 256"};
  int Made = 0;
  for (const std::string& Source : Sources) {
    const std::string Gif = (Work / ("made" + std::to_string(Made++) + ".gif")).string();
    Run(Quoted(Options.Convert) + " " + Source + " " + Quoted(Gif));
    if (fs::exists(Gif)) Sets.Others.push_back(ReadFile(Gif));
  }
  if (!Options.GifFolder.empty())
    for (const auto& Entry : fs::directory_iterator(Options.GifFolder))
      if (Entry.path().extension() == ".gif") Sets.Others.push_back(ReadFile(Entry.path()));
  return Sets;
}

// Every frame of every file read and decoded; the pixels decoded.
std::size_t DecodeAll(const std::vector<std::vector<std::uint8_t>>& Set) {
  std::size_t Pixels = 0;
  for (const auto& Gif : Set)
    for (const TGifFrame& Frame : ReadGif(Gif.data(), Gif.size()).Frames)
      Pixels += DecodeGifFrame(Frame).Indices.size();
  return Pixels;
}

// Prints the figures of one set; its time over giflib's (0 without giflib).
double DecodeFigures(const std::vector<std::vector<std::uint8_t>>& Set, const char* Kind, int Rounds) {
  std::size_t Bytes = 0;
  for (const auto& Gif : Set) Bytes += Gif.size();
  const std::size_t Pixels = DecodeAll(Set);
  double Ours = 1e30, Theirs = 1e30;
  std::size_t TheirPixels = 0;
  for (const auto& Gif : Set) TheirPixels += GiflibDecode(Gif);
  for (int Round = 0; Round < Rounds; ++Round) {
    double Start = CpuSeconds();
    DecodeAll(Set);
    Ours = std::min(Ours, CpuSeconds() - Start);
    if (!GiflibAvailable()) continue;
    Start = CpuSeconds();
    for (const auto& Gif : Set) GiflibDecode(Gif);
    Theirs = std::min(Theirs, CpuSeconds() - Start);
  }
  std::printf("decode_%s_files: %zu\ndecode_%s_mpixels: %.1f\ndecode_%s_kbytes: %zu\n", Kind, Set.size(), Kind,
              Pixels / 1e6, Kind, Bytes / 1024);
  std::printf("gif_decode_%s_ms: %.1f\n", Kind, Ours * 1000);
  if (!GiflibAvailable()) return 0;
  std::printf("giflib_decode_%s_mpixels: %.1f\n", Kind, TheirPixels / 1e6);  // the same pixels, as a check
  std::printf("giflib_decode_%s_ms: %.1f\n", Kind, Theirs * 1000);
  std::printf("gif_decode_vs_giflib_%s: %.3f\n", Kind, Ours / Theirs);
  return Ours / Theirs;
}

void DecodeFigures(const TDecodeSets& Sets, int Rounds) {
  const double Own = DecodeFigures(Sets.Own, "own", Rounds);
  const double Others = Sets.Others.empty() ? 0 : DecodeFigures(Sets.Others, "others", Rounds);
  if (!GiflibAvailable()) return (void)std::printf("gif_decode_vs_giflib: skipped (no libgif-dev)\n");
  std::printf("gif_decode_vs_giflib: %.3f\n", std::max(Own, Others));
}

// The bomb: eight 8192 x 8192 frames of one colour, a few dozen kilobytes each. A program of its
// own (this one, started again) reads the file and composes every frame; its peak resident memory
// is the figure.

std::vector<std::uint8_t> BombFile() {
  TGifFile File;
  File.Width = File.Height = 8192;
  File.GlobalPalette = {{0, 0, 0}, {200, 30, 30}};
  TGifFrame Frame;
  Frame.Width = Frame.Height = 8192;
  Frame.Indices.assign(Frame.Area(), 1);
  File.Frames = {std::move(Frame)};
  const std::vector<std::uint8_t> One = WriteGif(File);
  const std::size_t FrameStart = 13 + 6;  // past the screen and its two colours
  std::vector<std::uint8_t> Gif(One.begin(), One.begin() + FrameStart);
  for (int I = 0; I < 8; ++I) Gif.insert(Gif.end(), One.begin() + FrameStart, One.end() - 1);
  Gif.push_back(0x3B);
  return Gif;
}

// Resident memory at its peak, from the kernel's own count.
double PeakResidentMb() {
  std::ifstream Status("/proc/self/status");
  for (std::string Line; std::getline(Status, Line);)
    if (Line.rfind("VmHWM:", 0) == 0) return std::atof(Line.c_str() + 6) / 1024;
  return 0;
}

int BombChild(const std::string& Path) {
  const std::vector<std::uint8_t> Gif = ReadFile(Path);
  const double Start = CpuSeconds();
  const TGifFile File = ReadGif(Gif.data(), Gif.size());
  TGifCompositor Compositor(File);
  for (int I = 0; I < int(File.Frames.size()); ++I) Compositor.Seek(I);
  std::printf("gif_bomb_frames: %zu\ngif_bomb_ms: %.0f\ngif_bomb_peak_mb: %.0f\n", File.Frames.size(),
              (CpuSeconds() - Start) * 1000, PeakResidentMb());
  return 0;
}

void BombFigures(const fs::path& Work) {
  const std::string Path = (Work / "bomb.gif").string();
  const std::vector<std::uint8_t> Gif = BombFile();
  std::ofstream(Path, std::ios::binary).write(reinterpret_cast<const char*>(Gif.data()), std::streamsize(Gif.size()));
  std::printf("gif_bomb_file_kb: %zu\n", Gif.size() / 1024);
  const std::vector<std::uint8_t> Out =
      Run(Quoted(fs::read_symlink("/proc/self/exe").string()) + " --bomb " + Quoted(Path));
  std::fwrite(Out.data(), 1, Out.size(), stdout);
}

// Coded size: the same paletted frames through both writers.

void EncodeFigures() {
  if (!GiflibAvailable()) return (void)std::printf("gif_encode_size_vs_giflib: skipped (no libgif-dev)\n");
  std::vector<TGifFile> Files;
  for (unsigned Seed = 11; Seed <= 12; ++Seed) {
    TGifEncodeOptions Options;
    Options.Dither = Seed == 12;
    Files.push_back(QuantiseFrames({PhotoFrame(1024, 768, Seed)}, Options));
  }
  for (int Colours : {2, 16, 256}) Files.push_back(FlatGraphic(1200, 900, Colours, unsigned(Colours)));
  std::size_t Ours = 0, Theirs = 0;
  for (TGifFile& File : Files) {
    // Both get a table padded to a power of two, as giflib requires.
    std::size_t Padded = 2;
    while (Padded < File.GlobalPalette.size()) Padded *= 2;
    File.GlobalPalette.resize(Padded);
    Ours += WriteGif(File).size();
    Theirs += GiflibEncode(File).size();
  }
  std::printf("gif_encode_bytes: %zu\ngiflib_encode_bytes: %zu\n", Ours, Theirs);
  std::printf("gif_encode_size_vs_giflib: %.4f\n", double(Ours) / double(Theirs));
}

// Coding speed: a 6-megapixel picture and every frame of the decoding set, each frame a file of its
// own with its table as the global one, written by both (the best round of each).

std::vector<TGifFile> EncodeSpeedSet(const std::vector<std::vector<std::uint8_t>>& Files) {
  std::vector<TGifFile> Set;
  TGifEncodeOptions Dithered;
  Dithered.Dither = true;
  Set.push_back(QuantiseFrames({PhotoFrame(3000, 2000, 31)}, Dithered));
  for (const auto& Gif : Files) {
    const TGifFile File = ReadGif(Gif.data(), Gif.size());
    for (const TGifFrame& Frame : File.Frames) {
      TGifIndices Decoded = DecodeGifFrame(Frame);
      if (!Decoded.Complete()) continue;
      TGifFile One;
      One.Width = Frame.Width;
      One.Height = Frame.Height;
      One.GlobalPalette = File.PaletteOf(Frame);
      TGifFrame Plain;
      Plain.Width = Frame.Width;
      Plain.Height = Frame.Height;
      Plain.Indices = std::move(Decoded.Indices);
      One.Frames.push_back(std::move(Plain));
      Set.push_back(std::move(One));
    }
  }
  for (TGifFile& File : Set) {
    std::size_t Padded = 2;
    while (Padded < File.GlobalPalette.size()) Padded *= 2;
    File.GlobalPalette.resize(Padded);
  }
  return Set;
}

// Seconds of processor time for the best of Rounds runs of Code.
template <typename TCode>
double BestOf(int Rounds, TCode Code) {
  double Best = 1e30;
  for (int Round = 0; Round < Rounds; ++Round) {
    const double Start = CpuSeconds();
    Code();
    Best = std::min(Best, CpuSeconds() - Start);
  }
  return Best;
}

void EncodeSpeedFigures(const TDecodeSets& Sets, int Rounds) {
  std::vector<std::vector<std::uint8_t>> Files = Sets.Own;
  Files.insert(Files.end(), Sets.Others.begin(), Sets.Others.end());
  std::vector<TGifFile> Set = EncodeSpeedSet(Files);
  Set.erase(std::remove_if(Set.begin(), Set.end(),
                           [](const TGifFile& File) {
                             try {
                               WriteGif(File);
                               return false;
                             } catch (const EGifError&) {
                               return true;  // indices past the frame's table: not written
                             }
                           }),
            Set.end());
  double Pixels = 0;
  for (const TGifFile& File : Set) Pixels += double(File.Width) * File.Height;
  const double Large = BestOf(Rounds, [&] { WriteGif(Set[0]); });
  const double All = BestOf(Rounds, [&] {
    for (const TGifFile& File : Set) WriteGif(File);
  });
  std::printf("encode_set_frames: %zu\nencode_set_mpixels: %.1f\n", Set.size(), Pixels / 1e6);
  std::printf("gif_encode_6mpx_ms: %.1f\ngif_encode_ms: %.1f\n", Large * 1000, All * 1000);
  if (!GiflibAvailable()) return (void)std::printf("gif_encode_vs_giflib: skipped (no libgif-dev)\n");
  const double TheirLarge = BestOf(Rounds, [&] { GiflibEncode(Set[0]); });
  const double TheirAll = BestOf(Rounds, [&] {
    for (const TGifFile& File : Set) GiflibEncode(File);
  });
  std::printf("giflib_encode_6mpx_ms: %.1f\ngiflib_encode_ms: %.1f\n", TheirLarge * 1000, TheirAll * 1000);
  std::printf("gif_encode_6mpx_vs_giflib: %.3f\n", Large / TheirLarge);
  std::printf("gif_encode_vs_giflib: %.3f\n", All / TheirAll);
}

// Quantisation: PSNR against ImageMagick's, and our time per megapixel.

std::vector<TPhoto> Photos(const TOptions& Options, const fs::path& Work) {
  std::vector<TPhoto> Out;
  for (unsigned Seed = 21; Seed <= 22; ++Seed) {
    TPhoto Photo{"synthetic-" + std::to_string(Seed), 800, 600, {}};
    for (TArgb P : SyntheticPhoto(800, 600, Seed))
      Photo.Rgb.insert(Photo.Rgb.end(), {std::uint8_t(P >> 16), std::uint8_t(P >> 8), std::uint8_t(P)});
    Out.push_back(std::move(Photo));
  }
  std::vector<std::string> Sources = {"-seed 3 -size 800x600 plasma:fractal -blur 0x1"};
  for (const std::string& File : Options.Photos) Sources.push_back(Quoted(File));
  for (const std::string& Source : Sources) {
    const std::string Ppm = (Work / ("photo" + std::to_string(Out.size()) + ".ppm")).string();
    Run(Quoted(Options.Convert) + " " + Source + " -depth 8 " + Quoted(Ppm));
    const std::vector<std::uint8_t> Bytes = ReadFile(Ppm);
    TPhoto Photo{Source, 0, 0, {}};
    int Max = 0, Header = 0;
    if (Bytes.empty() || std::sscanf(reinterpret_cast<const char*>(Bytes.data()), "P6 %d %d %d%n", &Photo.Width,
                                     &Photo.Height, &Max, &Header) != 3)
      continue;
    Photo.Rgb.assign(Bytes.begin() + Header + 1, Bytes.end());
    Photo.Rgb.resize(std::size_t(Photo.Width) * Photo.Height * 3);
    Out.push_back(std::move(Photo));
  }
  return Out;
}

void WritePpm(const std::string& Path, const TPhoto& Photo) {
  std::ofstream Out(Path, std::ios::binary);
  Out << "P6\n" << Photo.Width << " " << Photo.Height << "\n255\n";
  Out.write(reinterpret_cast<const char*>(Photo.Rgb.data()), std::streamsize(Photo.Rgb.size()));
}

std::vector<std::uint8_t> OursQuantised(const TPhoto& Photo, bool Dither, double& Seconds) {
  const std::vector<TArgb> Pixels = ArgbOfRgb(Photo.Rgb);
  const double Start = CpuSeconds();
  TColourHistogram Histogram;
  Histogram.Add(Pixels.data(), Pixels.size());
  const TGifPalette Palette = Histogram.Palette(256);
  const std::vector<std::uint8_t> Indices = MapToPalette(Pixels.data(), Photo.Width, Photo.Height, Palette, Dither);
  Seconds += CpuSeconds() - Start;
  std::vector<std::uint8_t> Rgb;
  Rgb.reserve(Photo.Rgb.size());
  for (std::uint8_t I : Indices) Rgb.insert(Rgb.end(), {Palette[I].R, Palette[I].G, Palette[I].B});
  return Rgb;
}

void QuantiseFigures(const TOptions& Options, const fs::path& Work) {
  double Seconds[2] = {}, Difference[2] = {}, Megapixels = 0;
  int Compared = 0;
  for (const TPhoto& Photo : Photos(Options, Work)) {
    const std::string Ppm = (Work / "in.ppm").string();
    WritePpm(Ppm, Photo);
    Megapixels += Photo.Width * double(Photo.Height) / 1e6;
    double Ours[2], Theirs[2];
    for (int Dither = 0; Dither < 2; ++Dither) {
      Ours[Dither] = Psnr(Photo.Rgb, OursQuantised(Photo, Dither == 1, Seconds[Dither]));
      Theirs[Dither] =
          Psnr(Photo.Rgb, Run(Quoted(Options.Convert) + " " + Quoted(Ppm) +
                              (Dither ? " -dither FloydSteinberg" : " +dither") + " -colors 256 -depth 8 rgb:-"));
    }
    std::printf("psnr %s (%dx%d): ours %.2f / %.2f dB, imagemagick %.2f / %.2f dB (plain / dithered)\n",
                Photo.Name.c_str(), Photo.Width, Photo.Height, Ours[0], Ours[1], Theirs[0], Theirs[1]);
    if (Theirs[0] <= 0 || Theirs[1] <= 0) continue;
    for (int D = 0; D < 2; ++D) Difference[D] += Ours[D] - Theirs[D];
    ++Compared;
  }
  std::printf("gif_quantise_ms_per_mpixel: %.1f\n", Seconds[0] * 1000 / Megapixels);
  std::printf("gif_dither_ms_per_mpixel: %.1f\n", Seconds[1] * 1000 / Megapixels);
  if (!Compared) return (void)std::printf("gif_quantise_psnr_vs_imagemagick: skipped (no convert)\n");
  std::printf("gif_quantise_plain_psnr_vs_imagemagick_db: %.2f\n", Difference[0] / Compared);
  std::printf("gif_quantise_dither_psnr_vs_imagemagick_db: %.2f\n", Difference[1] / Compared);
  std::printf("gif_quantise_psnr_vs_imagemagick: %.2f\n", std::min(Difference[0], Difference[1]) / Compared);
}

}  // namespace

int main(int Count, char** Arguments) {
  TOptions Options;
  for (int I = 1; I < Count; ++I) {
    const std::string Arg = Arguments[I];
    if (Arg == "--rounds" && I + 1 < Count)
      Options.Rounds = std::max(1, std::atoi(Arguments[++I]));
    else if (Arg == "--gifs" && I + 1 < Count)
      Options.GifFolder = Arguments[++I];
    else if (Arg == "--bomb" && I + 1 < Count)
      return BombChild(Arguments[I + 1]);
    else if (Arg == "--convert" && I + 1 < Count)
      Options.Convert = Arguments[++I];
    else if (Arg == "--photos")
      while (I + 1 < Count && std::string(Arguments[I + 1]).rfind("--", 0) != 0)
        Options.Photos.push_back(Arguments[++I]);
  }
  const fs::path Work = fs::temp_directory_path() / ("torvane-gif-bench-" + std::to_string(getpid()));
  fs::create_directories(Work);
  const TDecodeSets Sets = DecodeSets(Options, Work);
  DecodeFigures(Sets, Options.Rounds);
  EncodeFigures();
  EncodeSpeedFigures(Sets, Options.Rounds);
  BombFigures(Work);
  QuantiseFigures(Options, Work);
  fs::remove_all(Work);
  return 0;
}
