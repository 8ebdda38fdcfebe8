// CPictureShare: the results by file, and their bound.
#include "previews/PictureShare.h"

CPictureShare::Claim::~Claim() {
  if (!m_promise) return;
  platform::PreviewImage nothing;
  nothing.status = platform::PreviewStatus::Failed;
  nothing.reason = "its other name was not read";
  Publish(nothing);
}

void CPictureShare::Claim::Publish(const platform::PreviewImage& image) {
  if (!m_promise) return;
  auto shared = std::make_shared<const platform::PreviewImage>(image);
  {
    std::lock_guard<std::mutex> lock(m_share->m_mutex);
    m_share->m_bytes += shared->jpeg.size() + shared->rendition.size() + shared->large.size();
  }
  m_promise->set_value(std::move(shared));
  m_promise.reset();
}

CPictureShare::Claim CPictureShare::ClaimFor(const platform::EntryInfo& file) {
  Claim claim;
  if (file.links < 2) return claim;
  const Key key{file.device, file.inode, file.size, file.modifySeconds, file.modifyNanos};
  std::lock_guard<std::mutex> lock(m_mutex);
  if (const auto found = m_results.find(key); found != m_results.end()) {
    claim.m_waiting = true;
    claim.m_result = found->second;
    return claim;
  }
  if (m_bytes >= m_maxBytes) return claim;  // kept enough: this one is decoded on its own
  claim.m_share = this;
  claim.m_promise = std::make_unique<std::promise<Image>>();
  claim.m_result = claim.m_promise->get_future().share();
  m_results.emplace(key, claim.m_result);
  return claim;
}
