#include "batch/SaveMassSystem.h"

#include "core/SaveFile.h"
#include "model/ElementFileSource.h"
#include "model/StreamImage.h"

#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <deque>

namespace {

// Every file holds every element, whatever view the character was saved with.
CharacterData copyOf(const CharacterData* document)
{
  CharacterData copy = document ? *document : CharacterData();
  copy.setOnlySelection(false);
  return copy;
}

} // namespace

SaveMassSystem::SaveMassSystem(CharacterData* document, const std::vector<int>& elementIds, const QString& folder,
                               const QString& prefix, unsigned int hueStep, bool redefine, QObject* parent)
  : QThread(parent), m_document(copyOf(document)), m_redefine(redefine), m_grouped(false),
    m_elementIds(elementIds), m_hueStep(hueStep), m_folder(folder), m_prefix(prefix), m_folderDir(folder)
{
  createFolder();
}

SaveMassSystem::SaveMassSystem(CharacterData* document, const std::vector<int>& elementIds,
                               const std::vector<int>& groupIds, const QString& folder, const QString& prefix,
                               unsigned int hueStep, bool redefine, QObject* parent, const QStringList& fileParts)
  : QThread(parent), m_document(copyOf(document)), m_redefine(redefine), m_grouped(true),
    m_elementIds(elementIds), m_groupIds(groupIds), m_fileParts(fileParts), m_hueStep(hueStep), m_folder(folder),
    m_prefix(prefix), m_folderDir(folder)
{
  createFolder();
}

SaveMassSystem::~SaveMassSystem()
{
  wait();
}

// A folder that cannot be created shows in the writes, which all fail and
// are reported.
void SaveMassSystem::createFolder()
{
  if (m_folderDir.exists())
    return;
  QDir().mkpath(m_folder);
  m_folderDir = QDir(m_folder);
}

unsigned int SaveMassSystem::tintCount(unsigned int hueStep)
{
  return 360u / std::max(1u, hueStep);
}

QString SaveMassSystem::fileName(const QString& prefix, int number, unsigned int hue)
{
  return prefix + QString::number(number) + QLatin1Char('_') + QString::number(hue) + QStringLiteral(".png");
}

std::optional<int> SaveMassSystem::plainIndex(const std::string& source)
{
  const std::size_t bar = source.rfind('|');
  return bar == std::string::npos ? std::nullopt : parseSourceNumber(source.substr(bar + 1));
}

std::vector<SaveMassSystem::Entry> SaveMassSystem::plan(const CharacterData* document, bool grouped,
                                                        const std::vector<int>& elementIds,
                                                        const std::vector<int>& groupIds,
                                                        const QStringList& fileParts)
{
  const int count = document ? document->elementCount() : 0;
  std::vector<Entry> entries;
  if (!grouped) {
    for (int e : elementIds)
      entries.push_back(!document || (e >= 0 && e < count) ? Entry{{e}, e} : Entry{{}, e});
    return entries;
  }
  // An unmatched id keeps the previous number, though nothing is named after it.
  int number = 0;
  for (int g : elementIds) {
    Entry entry{{}, number};
    for (int j = 0; j < count; ++j)
      if (plainIndex(document->source(j)) == g) {
        entry = Entry{{j}, j};
        break;
      }
    number = entry.number;
    entries.push_back(entry);
  }
  for (std::size_t i = 0; i < groupIds.size(); ++i) {
    const bool byPart = i < std::size_t(fileParts.size());
    const std::string part = byPart ? fileParts[int(i)].toStdString() : std::string();
    Entry entry{{}, number};
    for (int j = 0; j < count; ++j) {
      const auto file = elementFileSource(document->source(j));
      if (file && parseSourceNumber(file->counter) == groupIds[i] && (!byPart || file->path == part)) {
        entry.elements.push_back(j);
        entry.number = j;
      }
    }
    number = entry.number;
    entries.push_back(entry);
  }
  return entries;
}

QStringList SaveMassSystem::fileNames(const std::vector<Entry>& plan, const QString& prefix, unsigned int hueStep)
{
  const unsigned int step = std::max(1u, hueStep), tints = tintCount(hueStep);
  QStringList names;
  for (const Entry& entry : plan)
    if (!entry.elements.empty())
      for (unsigned int k = 0; k < tints; ++k)
        names << fileName(prefix, entry.number, k * step);
  return names;
}

std::vector<SaveMassSystem::Tint> SaveMassSystem::tints() const
{
  const unsigned int step = std::max(1u, m_hueStep), count = tintCount(m_hueStep);
  std::vector<Tint> tints;
  std::size_t done = 0;
  for (const Entry& entry : plan(&m_document, m_grouped, m_elementIds, m_groupIds, m_fileParts)) {
    // An id that matches nothing would otherwise recolour the whole
    // character, under the previous entry's names: it is counted, not saved.
    if (!entry.elements.empty())
      for (unsigned int k = 0; k < count; ++k)
        tints.push_back(Tint{fileName(m_prefix, entry.number, k * step), entry.elements, k * step, done + k});
    done += count;
  }
  return tints;
}

bool SaveMassSystem::saveTint(const Tint& tint) const
{
  // Each tint starts from the run's state, so none builds on another.
  CharacterData document(m_document);
  document.saveSnapshot();
  document.setSelectedElements(tint.elements);
  document.changeColoration(TslShift{float(tint.hue), 0.f, 0.f}, m_redefine, true);
  // The image, never a pixmap: this is not the GUI thread.
  QByteArray png;
  return encodeCellPng(document.flattenImage(), png) && !png.isEmpty() &&
         saveWholeFile(m_folder + QLatin1Char('/') + tint.name, png);
}

// The tints are prepared side by side, a few ahead of the one reported, on a
// pool of the run's own: the flattening maps over the global pool, and a
// blocking map nested in a task of that same pool can starve it. Reports
// still come one file at a time, in order.
void SaveMassSystem::run()
{
  m_document.setSelectedCells({});
  const std::size_t total =
      std::size_t(tintCount(m_hueStep)) * (m_elementIds.size() + (m_grouped ? m_groupIds.size() : 0));
  const std::vector<Tint> jobs = tints();
  QThreadPool pool;
  pool.setMaxThreadCount(m_threadCount > 0 ? m_threadCount : std::max(1, QThread::idealThreadCount()));
  const std::size_t ahead = 2 * std::size_t(pool.maxThreadCount());
  std::deque<QFuture<bool>> pending;
  std::size_t next = 0;
  QStringList failed;
  for (const Tint& tint : jobs) {
    for (; next < jobs.size() && pending.size() < ahead; ++next)
      pending.push_back(QtConcurrent::run(&pool, [this, &job = jobs[next]] { return saveTint(job); }));
    const double quotient = double(tint.done) / double(total);
    emit changeProgess(uchar(quotient * 100), QStringLiteral("Enregistrement de ") + tint.name);
    if (!pending.front().result())
      failed << tint.name;
    pending.pop_front();
  }
  emit changeProgess(100, total == 1 ? QStringLiteral("Enregistrement fini") : QStringLiteral("Enregistrements finis"));
  if (!failed.isEmpty())
    emit unwritten(failed);
  emit finish();
}
