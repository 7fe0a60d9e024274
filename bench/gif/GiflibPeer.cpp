#include "bench/gif/GiflibPeer.h"

#ifdef HAVE_GIFLIB
#include <gif_lib.h>

#include <cstring>

namespace {

struct TReader {
  const std::vector<std::uint8_t>* Bytes;
  std::size_t At;
};

int ReadBytes(GifFileType* File, GifByteType* Into, int Count) {
  auto* R = static_cast<TReader*>(File->UserData);
  const std::size_t N = std::min<std::size_t>(std::size_t(Count), R->Bytes->size() - R->At);
  std::memcpy(Into, R->Bytes->data() + R->At, N);
  R->At += N;
  return int(N);
}

int WriteBytes(GifFileType* File, const GifByteType* From, int Count) {
  auto* Out = static_cast<std::vector<std::uint8_t>*>(File->UserData);
  Out->insert(Out->end(), From, From + Count);
  return Count;
}

}  // namespace

bool GiflibAvailable() { return true; }

std::size_t GiflibDecode(const std::vector<std::uint8_t>& Gif) {
  TReader Reader{&Gif, 0};
  int Error = 0;
  GifFileType* File = DGifOpen(&Reader, ReadBytes, &Error);
  if (!File) return 0;
  std::size_t Pixels = 0;
  if (DGifSlurp(File) == GIF_OK)
    for (int I = 0; I < File->ImageCount; ++I)
      Pixels += std::size_t(File->SavedImages[I].ImageDesc.Width) * std::size_t(File->SavedImages[I].ImageDesc.Height);
  DGifCloseFile(File, &Error);
  return Pixels;
}

std::vector<std::uint8_t> GiflibEncode(const TGifFile& Gif) {
  std::vector<std::uint8_t> Out;
  int Error = 0;
  GifFileType* File = EGifOpen(&Out, WriteBytes, &Error);
  if (!File) return Out;
  int Bits = 1;
  while ((std::size_t(1) << Bits) < Gif.GlobalPalette.size()) ++Bits;
  std::vector<GifColorType> Colours(std::size_t(1) << Bits);
  for (std::size_t I = 0; I < Gif.GlobalPalette.size(); ++I)
    Colours[I] = GifColorType{Gif.GlobalPalette[I].R, Gif.GlobalPalette[I].G, Gif.GlobalPalette[I].B};
  ColorMapObject* Map = GifMakeMapObject(int(Colours.size()), Colours.data());
  EGifPutScreenDesc(File, Gif.Width, Gif.Height, Bits, 0, Map);
  for (const TGifFrame& Frame : Gif.Frames) {
    EGifPutImageDesc(File, Frame.Left, Frame.Top, Frame.Width, Frame.Height, false, nullptr);
    std::vector<GifPixelType> Row(std::size_t(Frame.Width));
    for (int Y = 0; Y < Frame.Height; ++Y) {
      std::memcpy(Row.data(), &Frame.Indices[std::size_t(Y) * Frame.Width], Row.size());
      EGifPutLine(File, Row.data(), Frame.Width);
    }
  }
  EGifCloseFile(File, &Error);
  GifFreeMapObject(Map);
  return Out;
}

#else

bool GiflibAvailable() { return false; }
std::size_t GiflibDecode(const std::vector<std::uint8_t>&) { return 0; }
std::vector<std::uint8_t> GiflibEncode(const TGifFile&) { return {}; }

#endif
