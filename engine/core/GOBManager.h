// The registry of mounted archives and the search orders built from them.
//
// An order is a list of archives searched first to last, ending with a null entry that stands
// for the disk. "DEFAULT" holds every archive sorted by its order key (ascending; equal keys in
// mounting order), then the disk; each archive also has an order of its own name (that archive,
// then the disk). Unknown order names give "DEFAULT". The disk entry tries the path itself,
// then each search path joined with "\" and the path.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/core/GOBFile.h"

namespace Orvex {

struct GOBOrder {
    std::wstring name;
    std::vector<GOBFile*> entries;  // null: the disk
};

class GOBManager {
public:
    static GOBManager& getInstance();

    // Takes ownership of the archive (null is ignored) and rebuilds the orders.
    void addArchive(GOBFile* archive);
    // Re-sorts the orders by the archives' order keys.
    void rebuildOrders();
    // The order of that name, or "DEFAULT". Valid until the next rebuild.
    GOBOrder const& findOrder(std::wstring const& name) const;
    GOBOrder const& getDefaultOrder() const { return orders_.front(); }
    // The disk alone.
    GOBOrder const& getDiskOrder() const { return diskOrder_; }

    GOBFile* findArchive(std::wstring const& name) const;
    u32 getArchiveCount() const { return static_cast<u32>(archives_.size()); }

    // A folder searched for files on disk after the path as given ("\" separated).
    void addSearchPath(std::wstring const& path);
    std::vector<std::wstring> const& getSearchPaths() const { return searchPaths_; }

    // Unmounts every archive and forgets the search paths (files opened from the archives must
    // not be read afterwards).
    void clear();

    GOBManager(GOBManager const&) = delete;
    GOBManager& operator=(GOBManager const&) = delete;

private:
    GOBManager();

    std::vector<std::unique_ptr<GOBFile>> archives_;
    std::vector<GOBOrder> orders_;  // orders_[0] is "DEFAULT"
    GOBOrder diskOrder_;
    std::vector<std::wstring> searchPaths_;
};

// True when the path exists in one of the order's archives or, for its disk entry, on disk
// (a file or a folder).
bool listFiles(std::wstring const& path, GOBOrder const& order);
bool listFiles(std::wstring const& path, std::wstring const& orderName = L"DEFAULT");

// The host path of a file found on disk through the search paths ("" when there is none). Only a
// regular file is found (or a folder, with foldersToo): anything else of the name (a FIFO, a
// device) is passed over, and passedOver, when given and empty, says what the first one was.
std::string findOnDisk(std::wstring const& path, bool foldersToo = false, std::wstring* passedOver = nullptr);

}  // namespace Orvex
