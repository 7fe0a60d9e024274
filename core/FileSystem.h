#pragma once
// The file system as the core sees it: entries with their sizes, times and attributes, folder listings,
// whole-file reads and atomic writes. The core defines the interface; the platform implements it and
// the program's entry hands it to whoever needs it.
// Fails: nothing throws; lookups and reads answer false or null, and LastErrorText says why.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/DateTime.h"

// File attribute bits as the platform reports them.
enum : std::uint32_t {
  faReadOnly = 0x01,
  faHidden = 0x02,
  faSysFile = 0x04,
  faVolumeID = 0x08,
  faDirectory = 0x10,
  faArchive = 0x20,
  faReparsePoint = 0x400,  // a link (Windows reparse point, POSIX symbolic link)
  faAnyFile = 0x3F,
};

// One entry of a folder listing or a lookup.
struct TFileEntry {
  std::string Name;              // own name, no folder part; empty when a lookup found nothing
  std::uint64_t Size = 0;        // bytes; 0 for folders
  std::uint32_t Attributes = 0;  // fa* bits
  TDateTime Time = 0.0;          // last write, local time to the second
  // The last change at the platform's full resolution, in its own units (0 when unknown): two stamps of
  // one entry differ when it changed between them (a folder changes as entries come, go or are renamed
  // in it). Known with the other details.
  std::uint64_t Stamp = 0;
  // False when a listing gave only the name and the kind (faDirectory, faReparsePoint, faHidden):
  // TFolderListing::ReadDetails then fills in Size, Time and the other attributes.
  bool DetailsKnown = true;
  bool IsDirectory() const { return (Attributes & faDirectory) != 0; }
  bool IsLink() const { return (Attributes & faReparsePoint) != 0; }
};

// A file open for reading from its start.
class TFileReader {
 public:
  virtual ~TFileReader() = default;
  // The size of the file when it was opened; it may grow or shrink while it is read.
  virtual std::uint64_t Size() const = 0;
  // Reads up to Count bytes into Buffer: how many were read, 0 at the end of the file, -1 on a failure.
  virtual std::ptrdiff_t Read(char* Buffer, std::size_t Count) = 0;
};

// An open folder: its listing, and the folders below it opened relative to it (POSIX keeps a
// descriptor, so no path grows past the system's limit; Windows keeps the "\\?\" form).
class TFolderListing {
 public:
  virtual ~TFolderListing() = default;
  // Fills Entry with the next entry (reusing its storage) and answers true, or false at the end. The
  // name and kind are always there; size, time and the other attributes only where the platform lists
  // them at no extra cost (Entry.DetailsKnown). An entry without them is a folder, a regular file or a
  // link (faReparsePoint; whether a link leads to a folder is one of its details).
  virtual bool Next(TFileEntry& Entry) = 0;
  // Completes an entry of this listing that came without details; false when it has gone meanwhile.
  virtual bool ReadDetails(TFileEntry& Entry) {
    Entry.DetailsKnown = true;
    return true;
  }
  // Reads the Stamp of the entry Name of this folder afresh (its other details are left as they are),
  // where the entry came from an older listing or from the index; false when it has gone or the
  // platform cannot tell (the default).
  virtual bool ReadStamp(TFileEntry& Entry) {
    (void)Entry;
    return false;
  }
  // Ends the enumeration and frees what it holds; the folder stays open for OpenSubfolder.
  virtual void EndListing() {}
  // Opens the folder Name of this folder; null when it cannot be listed. A link is not followed.
  virtual std::unique_ptr<TFolderListing> OpenSubfolder(const std::string& Name) = 0;
  // Opens the folder Name for its details, files and subfolders, for a caller that holds its entries
  // already: Next may give nothing, and where opening is listing (Windows) nothing is listed. Null when
  // it cannot be opened (the default lists it as OpenSubfolder does).
  virtual std::unique_ptr<TFolderListing> OpenSubfolderUnlisted(const std::string& Name) { return OpenSubfolder(Name); }
  // Asked before the first Next: the folder's own Stamp as it was before any of its entries were read,
  // when that stamp is old enough (seconds) that any change to the folder's entries since gives the
  // folder another one; 0 otherwise, or where the platform cannot tell. A folder opened unlisted
  // answers too.
  virtual std::uint64_t SettledStamp() { return 0; }
  // Whether the file system this folder lies on gives a folder a new stamp whenever an entry comes, goes
  // or is renamed in it. False (the default) where it may not: FAT and exFAT volumes, network shares
  // (whose server may not report it), and any file system the platform does not know to.
  virtual bool StampsFollowEntries() { return false; }
  // Opens the file Name of this folder (a link is followed) for shared reading, as
  // TFileSystem::OpenFile does, without looking up the folder's path again; null when it cannot.
  virtual std::unique_ptr<TFileReader> OpenFile(const std::string& Name) {
    (void)Name;
    return nullptr;
  }
};

// A file written in pieces to replace another one: nothing changes on disk until Commit, and a writer
// destroyed without it leaves the old file as it was.
class TFileWriter {
 public:
  virtual ~TFileWriter() = default;
  virtual bool Write(std::string_view Data) = 0;
  // Puts what was written in the file's place; false on any failure (the old file stays whole).
  virtual bool Commit() = 0;
};

// Data written by Writer and committed; false when there is no writer or either step fails.
bool WriteWhole(const std::unique_ptr<TFileWriter>& Writer, std::string_view Data);

// What the program needs of the file system. Paths are UTF-8; folders are given without a trailing
// separator. Failures become empty results or false, never exceptions.
class TFileSystem {
 public:
  virtual ~TFileSystem() = default;
  // '\\' on Windows, '/' elsewhere.
  virtual char PathDelimiter() const = 0;
  // Turns Path into a key that is equal for two spellings exactly when the file system takes them for
  // the same path: Windows folds the case of every letter, as its file systems do; POSIX file systems
  // compare names byte for byte, and so does this default.
  virtual void PathKey(std::string& Path) const { (void)Path; }
  // Whether the file system takes A and B for the same path (or name): their keys are equal.
  bool SamePath(std::string_view A, std::string_view B) const;
  // True where a name is any sequence of bytes (POSIX): a stored path is then kept byte for byte, never
  // read as text of the ANSI code page. Windows names are Unicode, always stored as UTF-8.
  virtual bool PathsAreBytes() const { return false; }
  // Path as a full path: one relative to the current folder (or, on Windows, to the current drive) is
  // resolved; a full path comes back as it is.
  virtual std::string FullPath(const std::string& Path) { return Path; }
  // Lists every entry of Folder, hidden and system ones included, "." and ".." as the platform
  // reports them, in the platform's order. Null when the folder cannot be listed. Paths of any length.
  virtual std::unique_ptr<TFolderListing> OpenFolder(const std::string& Folder) = 0;
  // Opens Folder for its stamp, files and subfolders without reading its entries (where opening is
  // listing, as on Windows, nothing is listed): Next may give nothing. Null when it cannot be opened.
  // The default opens a listing.
  virtual std::unique_ptr<TFolderListing> OpenFolderUnlisted(const std::string& Folder) { return OpenFolder(Folder); }
  // Looks up one file or folder by its full path; false (and an empty entry) when there is none.
  virtual bool FindEntry(const std::string& Path, TFileEntry& Entry) = 0;
  // What one FindEntry costs, counted in entries of a folder listing: callers with many lookups in
  // one folder list the folder instead when that is cheaper.
  virtual double FindEntryCost() const { return 1.0; }
  // Reads at most MaxBytes from the start of a file opened for shared reading; FileSize (when given)
  // receives the size of the file opened. Only regular files are read: anything else (a pipe, a
  // device, a folder) fails at once, never waits. False when it cannot.
  virtual bool ReadFile(const std::string& Path, std::size_t MaxBytes, std::string& Data,
                        std::uint64_t* FileSize = nullptr) = 0;
  // Opens a file for shared reading, regular files only, as ReadFile reads them; null when it cannot.
  // The default reads the whole file through ReadFile.
  virtual std::unique_ptr<TFileReader> OpenFile(const std::string& Path);
  // Replaces the file's contents with Data through a temporary file in the same folder that is
  // renamed over it: the old file stays whole until the new one is complete. False on any failure.
  virtual bool WriteFileAtomically(const std::string& Path, const std::string& Data) = 0;
  // The same two for files too large to hold in memory at once. ReadFileInPieces hands the whole file
  // to OnPiece in pieces, in order. CreateFileAtomically starts the replacement of Path (null when it
  // cannot). The defaults go through ReadFile and WriteFileAtomically.
  virtual bool ReadFileInPieces(const std::string& Path, const std::function<void(std::string_view)>& OnPiece);
  virtual std::unique_ptr<TFileWriter> CreateFileAtomically(const std::string& Path);
  virtual bool FileExists(const std::string& Path) = 0;  // false for folders
  virtual bool DirectoryExists(const std::string& Path) = 0;
  virtual bool RemoveFile(const std::string& Path) = 0;  // files only; false for folders
  // Makes the folder Path (its parent must exist); true when it exists afterwards.
  virtual bool CreateFolder(const std::string& Path) {
    (void)Path;
    return false;
  }
  // The system's text for the last failure of this thread, for messages.
  virtual std::string LastErrorText() = 0;
};
