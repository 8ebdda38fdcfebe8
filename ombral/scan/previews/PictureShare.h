// CPictureShare: one decode per picture file in a run, shared by all of its
// names (hard links of one file, in one folder or many).
//
// A file with several links would otherwise be decoded once per name: 200
// links to one large TIFF cost 200 decodes. The first job to come to such a
// file (by device, inode, size and time) decodes it; the others wait for
// that result and write their own copies of it. Jobs start in the order
// they were handed in, so the first never waits for a later one. What is
// kept for sharing is bounded; beyond it, a file is decoded again.
#pragma once

#include <cstdint>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>

#include "platform/FolderHandle.h"
#include "platform/Preview.h"

class CPictureShare {
public:
  using Image = std::shared_ptr<const platform::PreviewImage>;

  // A job's part in the file `file`: its decoder (Publish the result, once)
  // or a waiter for that result (Wait).
  class Claim {
  public:
    // A decoder of its own file, shared with nobody.
    Claim() = default;
    // A decoder that goes without publishing (a stop, an exception) tells
    // its waiters that nothing was made, so none of them waits for ever.
    ~Claim();
    Claim(Claim&&) = default;
    Claim& operator=(Claim&&) = delete;
    Claim(const Claim&) = delete;
    Claim& operator=(const Claim&) = delete;

    bool IsFirst() const { return !m_waiting; }
    // The decoder's result, for the waiters (once).
    void Publish(const platform::PreviewImage& image);
    // The decoder's result (for a waiter).
    Image Wait() const { return m_result.get(); }

  private:
    friend class CPictureShare;
    CPictureShare* m_share = nullptr;  // set for a decoder others may wait for
    std::unique_ptr<std::promise<Image>> m_promise;
    std::shared_future<Image> m_result;
    bool m_waiting = false;
  };

  explicit CPictureShare(std::uint64_t maxBytes = 64u << 20) : m_maxBytes(maxBytes) {}

  // The claim of a job on `file` (a regular file as it was read). A file
  // with one link is never shared: the claim is a decoder's.
  Claim ClaimFor(const platform::EntryInfo& file);

private:
  using Key = std::tuple<std::uint64_t, std::uint64_t, std::uint64_t, std::int64_t, std::uint32_t>;
  std::mutex m_mutex;
  std::map<Key, std::shared_future<Image>> m_results;
  std::uint64_t m_bytes = 0;
  std::uint64_t m_maxBytes;
};
