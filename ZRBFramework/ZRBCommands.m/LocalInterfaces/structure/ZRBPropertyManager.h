// The module's memory of what the PDM told it for this CAD session: reference,
// file, instance and path-to-root properties, global values, Ids and the
// temporary-id counter, written to an XML file for local sessions and read
// back. One instance per process: GlobPropertyManager.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADUnicodeString.h"
#include "ZRBGlobalProperties.h"
#include "ZRBPropertyGlobal.h"
#include "ZRBPropertyManagerNames.h"
#include "ZRBPropertyManagerStore.h"

class CADIXMLSAXParser;

// Every member is used on the host's user-interface thread only (commands,
// timer callbacks and automation calls all run there); nothing locks.
class ZRBPropertyManager {
 public:
  // --- lifecycle
  ZRBPropertyManager();
  ~ZRBPropertyManager();
  ZRBPropertyManager(const ZRBPropertyManager&) = delete;
  ZRBPropertyManager& operator=(const ZRBPropertyManager&) = delete;
  // Reads what the manager takes from the host once (process id, cache
  // activation). Runs by itself on first need; calling it again re-reads.
  void Load();
  // Drops every record (module unload).
  void Unload();
  // Back to the state of a fresh process: no records, no global values,
  // counters at 0, empty registry, host values read again on next need.
  void ResetForTests();

  // --- global properties, temporary identifiers and the running-command
  // registry: the process-wide object, which exists before the manager
  void SetGlobalProperty(const CADUnicodeString& name, const CADUnicodeString& value) {
    Globals().SetGlobalProperty(name, value);
  }
  CADUnicodeString GetGlobalProperty(const CADUnicodeString& name) const { return Globals().GetGlobalProperty(name); }
  int DeleteGlobalProperty(const CADUnicodeString& name) { return Globals().DeleteGlobalProperty(name); }
  int IsGlobalPropertySet(const CADUnicodeString& name) const { return Globals().IsGlobalPropertySet(name); }
  CADUnicodeString GetNewTmpId() { return Globals().GetNewTmpId(); }
  int GetTempCounter() const { return Globals().GetTempCounter(); }
  void SetTmpCounter(int n) { Globals().SetTmpCounter(n); }
  ZRBRunningCommandRegistry& GetRunningCommandRegistry() { return Globals().GetRunningCommandRegistry(); }
  void RegisterRunningCommand(ZRBRunningCommandKind kind, ZRBCommand* command) {
    Globals().RegisterRunningCommand(kind, command);
  }
  static ZRBGlobalProperties& Globals() { return ZRBGlobalProperties::Process(); }

  // --- Ids
  // A new reference Id (the first is 1); Ids are never reused in a process.
  int GetNewId() { return store_.NewId(); }

  // --- reference properties by part number (the record of that number)
  void SetReferenceProperty(const CADUnicodeString& partNumber, const CADUnicodeString& name,
                            const CADUnicodeString& value);
  CADUnicodeString GetReferenceProperty(const CADUnicodeString& partNumber, const CADUnicodeString& name);
  // The property of the record whose full path names `fullPath`.
  CADUnicodeString GetReferencePropertyByFullPath(const CADUnicodeString& fullPath, const CADUnicodeString& name);
  void DeleteReferenceProperty(const CADUnicodeString& partNumber, const CADUnicodeString& name);
  // Deletes each named property from every reference record.
  void DeleteReferenceProperties(const CADListValCADUnicodeString& names);
  // Deletes every property of the record of that part number (the record stays).
  void DeleteAllReferencePropsForReference(const CADUnicodeString& partNumber);
  int IsReferencePropertySet(const CADUnicodeString& partNumber, const CADUnicodeString& name);
  void GetAllReferenceProperties(const CADUnicodeString& partNumber, CADListValCADUnicodeString& names,
                                 CADListValCADUnicodeString& values);

  // --- file properties (keyed by full path; equivalent spellings match)
  void SetFileProperty(const CADUnicodeString& fullPath, const CADUnicodeString& name, const CADUnicodeString& value);
  CADUnicodeString GetFileProperty(const CADUnicodeString& fullPath, const CADUnicodeString& name);
  void DeleteFileProperty(const CADUnicodeString& fullPath, const CADUnicodeString& name);
  // Deletes each named property from every file record.
  void DeleteFileProperties(const CADListValCADUnicodeString& names);
  int IsFilePropertySet(const CADUnicodeString& fullPath, const CADUnicodeString& name);
  void GetAllFileProperties(const CADUnicodeString& fullPath, CADListValCADUnicodeString& names,
                            CADListValCADUnicodeString& values);

  // --- instance properties by parent part number and child instance name
  void SetInstanceProperty(const CADUnicodeString& parentPartNumber, const CADUnicodeString& childInstanceName,
                           const CADUnicodeString& name, const CADUnicodeString& value);
  CADUnicodeString GetInstanceProperty(const CADUnicodeString& parentPartNumber,
                                       const CADUnicodeString& childInstanceName, const CADUnicodeString& name);
  void DeleteInstanceProperty(const CADUnicodeString& parentPartNumber, const CADUnicodeString& childInstanceName,
                              const CADUnicodeString& name);
  int IsInstancePropertySet(const CADUnicodeString& parentPartNumber, const CADUnicodeString& childInstanceName,
                            const CADUnicodeString& name);
  void GetAllInstanceProperties(const CADUnicodeString& parentPartNumber, const CADUnicodeString& childInstanceName,
                                CADListValCADUnicodeString& names, CADListValCADUnicodeString& values);
  // Removes the instance record (all its properties).
  void DeleteAllInstancePropsForInstance(const CADUnicodeString& parentPartNumber,
                                         const CADUnicodeString& childInstanceName);

  // --- path-to-root properties by path-to-root string
  void SetPathToRootProperty(const CADUnicodeString& pathToRoot, const CADUnicodeString& name,
                             const CADUnicodeString& value);
  CADUnicodeString GetPathToRootProperty(const CADUnicodeString& pathToRoot, const CADUnicodeString& name);
  void DeletePathToRootProperty(const CADUnicodeString& pathToRoot, const CADUnicodeString& name);
  int IsPathToRootPropertySet(const CADUnicodeString& pathToRoot, const CADUnicodeString& name);
  void GetAllPathToRootProperties(const CADUnicodeString& pathToRoot, CADListValCADUnicodeString& names,
                                  CADListValCADUnicodeString& values);

  // --- properties addressed by product. A product's reference record is the
  // record of its host part number; under cache activation a product the
  // host has not loaded (empty part number) is reached through its instance.
  void SetReferenceProperty(const CADIProduct_var& product, const CADUnicodeString& name,
                            const CADUnicodeString& value);
  CADUnicodeString GetReferenceProperty(const CADIProduct_var& product, const CADUnicodeString& name);
  void DeleteReferenceProperty(const CADIProduct_var& product, const CADUnicodeString& name);
  int IsReferencePropertySet(const CADIProduct_var& product, const CADUnicodeString& name);
  void GetAllReferenceProperties(const CADIProduct_var& product, CADListValCADUnicodeString& names,
                                 CADListValCADUnicodeString& values);
  void DeleteAllReferencePropsForReference(const CADIProduct_var& product);
  // Instance properties: the parent's part number and the child's instance name.
  void SetInstanceProperty(const CADIProduct_var& parent, const CADIProduct_var& child, const CADUnicodeString& name,
                           const CADUnicodeString& value);
  CADUnicodeString GetInstanceProperty(const CADIProduct_var& parent, const CADIProduct_var& child,
                                       const CADUnicodeString& name);
  void DeleteInstanceProperty(const CADIProduct_var& parent, const CADIProduct_var& child,
                              const CADUnicodeString& name);
  int IsInstancePropertySet(const CADIProduct_var& parent, const CADIProduct_var& child, const CADUnicodeString& name);
  void GetAllInstanceProperties(const CADIProduct_var& parent, const CADIProduct_var& child,
                                CADListValCADUnicodeString& names, CADListValCADUnicodeString& values);
  void DeleteAllInstancePropsForInstance(const CADIProduct_var& parent, const CADIProduct_var& child);
  // Stores the child's reference Id as the instance's ChildId once the child
  // has a part number; 1 when stored.
  int UpdateChildId(const CADIProduct_var& parent, const CADIProduct_var& child);
  // Path-to-root properties: the product's path-to-root string.
  void SetPathToRootProperty(const CADIProduct_var& product, const CADUnicodeString& name,
                             const CADUnicodeString& value);
  CADUnicodeString GetPathToRootProperty(const CADIProduct_var& product, const CADUnicodeString& name);
  void DeletePathToRootProperty(const CADIProduct_var& product, const CADUnicodeString& name);
  int IsPathToRootPropertySet(const CADIProduct_var& product, const CADUnicodeString& name);
  void GetAllPathToRootProperties(const CADIProduct_var& product, CADListValCADUnicodeString& names,
                                  CADListValCADUnicodeString& values);

  // --- host attributes of products
  // Gives the product's reference a new part number. Unless the conflict
  // check is skipped, another product of the session with that number
  // stops the change when it came from the PDM (0), or is renamed to
  // number + "_RENAMED" after telling the designer; when that rename fails
  // nothing changes (0), so two products never share one record. 1 on success.
  int SetPartNumber(const CADIProduct_var& product, const CADUnicodeString& partNumber, const int& markDirty,
                    const int& skipConflictCheck);
  // The host part number; under cache activation an unloaded product's
  // stored number, or (load flag 1) the number after loading it.
  CADUnicodeString GetPartNumber(const CADIProduct_var& product, int loadFlag);
  CADUnicodeString GetPartNumberByFullPath(const CADUnicodeString& fullPath) const;
  CADUnicodeString GetFullPathForPartNumber(const CADUnicodeString& partNumber) const;
  // Standard attributes (blanks stripped); kept in the record for an unloaded
  // product until it is loaded. 1 on success.
  int SetNomenclature(const CADIProduct_var& product, const CADUnicodeString& value);
  int SetRevision(const CADIProduct_var& product, const CADUnicodeString& value);
  int SetDefinition(const CADIProduct_var& product, const CADUnicodeString& value);
  int SetDescription(const CADIProduct_var& product, const CADUnicodeString& value);
  // Renames the instance; its instance record follows. 1 on success.
  int SetInstanceName(const CADIProduct_var& product, const CADUnicodeString& name);
  // The full path kept in the product's reference record.
  int SetFullPath(const CADIProduct_var& product, const CADUnicodeString& fullPath);
  CADUnicodeString GetFullPath(const CADIProduct_var& product);
  // The file of the product: for a cached, unloaded part the stored full
  // path, else the storage name of its document ("" when there is none).
  CADUnicodeString GetProductFullPath(const CADIProduct_var& product);
  // The document type of the product ("CADPart", "CADProduct", ...), "" unknown.
  CADUnicodeString GetProductType(const CADIProduct_var& product);
  // 1 for a part the host keeps unloaded under cache activation.
  int IsCachedPart(const CADIProduct_var& product);

  // --- user-defined and feature-extension data (list texts in the record)
  int StoreUserDefinedPropertiesData(const CADIProduct_var& product, const CADUnicodeString& displays,
                                     const CADUnicodeString& properties, const CADUnicodeString& values,
                                     const CADUnicodeString& deletions);
  CADUnicodeString GetUserDefinedDisplayData(const CADIProduct_var& product);
  CADUnicodeString GetUserDefinedPropertyData(const CADIProduct_var& product);
  CADUnicodeString GetUserDefinedValueData(const CADIProduct_var& product);
  CADUnicodeString GetUserDefinedDelData(const CADIProduct_var& product);
  // Stores the five feature-extension list texts in the product's record
  // (created when missing); 1 on success.
  int StoreFeatureExtensionData(const CADIProduct_var& product, const CADUnicodeString& containerIds,
                                const CADUnicodeString& clientIds, const CADUnicodeString& featureTypes,
                                const CADUnicodeString& featureAttrs, const CADUnicodeString& featureValues);

  // --- records of products
  // The record reached through the product's instance (father's record Id
  // and instance name): created with `create`, else found by the product's
  // file name with `fileSearch`. Null when none.
  ZRBPropertyReference* GetReferenceObjectByInstance(const CADIProduct_var& product, int create, int fileSearch);
  ZRBPropertyInstance* GetInstanceObject(const CADIProduct_var& parent, const CADIProduct_var& child);
  ZRBPropertyPathToRoot* GetPathToRootObject(const CADIProduct_var& product);
  // Applies a record kept for a product that was not loaded to the product
  // now loaded: properties and lists join its record, the standard
  // attributes go to the host. 1 on success.
  int SetReferenceInfoToProduct(const CADIProduct_var& product, ZRBPropertyReference& reference);

  // --- black boxes and archives by product (paths: GetProductFullPath)
  void AddBlackBoxRoot(const CADIProduct_var& parent, const CADUnicodeString& rootFullPath);
  void AddBlackBoxItem(const CADIProduct_var& parent, const CADUnicodeString& itemFullPath);
  int IsBlackBoxRoot(const CADIProduct_var& father, const CADIProduct_var& product);
  // With `anyParent` the product's file counts when any record lists it.
  int IsBlackBoxItem(const CADIProduct_var& father, const CADIProduct_var& product, int anyParent);
  int HasBlackBoxAttached(const CADIProduct_var& product);
  CADListValCADUnicodeString GetBlackBoxRoots(const CADIProduct_var& product);
  CADListValCADUnicodeString GetBlackBoxItems(const CADIProduct_var& product);
  void RemoveAllBlackBoxRoots(const CADIProduct_var& product);
  void RemoveAllBlackBoxItems(const CADIProduct_var& product);
  // 1 when the product's file is the root document of an archive.
  int IsArchiveRoot(const CADIProduct_var& product);
  // The reference record of a product's properties, without creating one; null when there is none.
  const ZRBPropertyReference* FindReferenceRecord(const CADIProduct_var& product) {
    return ReferenceFor(product, false);
  }
  // The root of a catalog part not yet in the PDM: with "ZRB_ENABLE_CATALOG_SUPPORT" "ON", its reference carries
  // the catalog identification ("ZRB_TYPE_IDENT_ATTRIBUTE_ID", default "ZRB_Catalog_Document") "Catalog" and no
  // "ZRB_OBID".
  int IsNewCatalogPartRoot(const CADIProduct_var& product);
  // 1 when the product's reference is content of an archive ("ZRB_CONTENT_IN_ARC" "1").
  int IsArchiveContent(const CADIProduct_var& product);

  // --- session upkeep
  // Drops the records no open document uses any more, after the registered
  // steps ran (abandoning a waiting command, resetting design-table renames,
  // keeping archive members). `mode` 4 runs quietly. 1 on success.
  int CheckIntegrity(int mode);
  void UnsetRemoveFlagForFile(const CADUnicodeString& fullPath);
  void UnsetRemoveFlagForProduct(const CADIProduct_var& product);
  // Other subsystems take part in the integrity check: `atStart` steps run
  // before the walk, `keep` steps run after it and may clear removal marks
  // (UnsetRemoveFlagForFile ...) before the marked records go.
  using IntegrityStep = std::function<void(ZRBPropertyManager&, int mode)>;
  void AddIntegrityStep(bool atStart, IntegrityStep step);

  // --- records
  ZRBPropertyReference* GetReferenceObject(const CADUnicodeString& partNumber) const;
  ZRBPropertyReference* GetReferenceObject(int id) const;
  ZRBPropertyReference* GetReferenceObjectByFullPath(const CADUnicodeString& fullPath) const;
  ZRBPropertyFile* GetFileObject(const CADUnicodeString& fullPath) const;
  ZRBPropertyInstance* GetInstanceObject(const CADUnicodeString& parentPartNumber,
                                         const CADUnicodeString& childInstanceName) const;
  ZRBPropertyPathToRoot* GetPathToRootObject(const CADUnicodeString& pathToRoot) const;
  // Folds `second` into `first` (values, properties, instance links) and
  // removes `second`; 0 and no change when both carry different non-empty
  // values for one field or property, or when they are the same record.
  int MergeReferences(ZRBPropertyReference& first, ZRBPropertyReference& second);
  // Re-keys the record of `oldPartNumber` to `newPartNumber` (merging into
  // an existing record of the new number); 0 when the merge is refused.
  int SetReferencePartNumber(const CADUnicodeString& oldPartNumber, const CADUnicodeString& newPartNumber);
  // Moves every property of the record of `fromPartNumber` onto the record
  // of `toPartNumber` (created when missing), overwriting equal names.
  void UpdateAllReferenceProperties(const CADUnicodeString& fromPartNumber, const CADUnicodeString& toPartNumber);
  // The files the records know: the path of every file record, then the
  // full path of every reference record that has one, each once.
  void GetAllKnownFileNames(CADListValCADUnicodeString& fullPaths) const;
  // Full path and "ZRB_LAST_KNOWN_MOD_TIME" of every file record that has one.
  void GetAllKnownFilesAndModTimes(CADListValCADUnicodeString& fullPaths, CADListValCADUnicodeString& times) const;
  // Reference records with design tables ("ZRB_DESIGNTABLES" set), in order.
  void GetAllReferencesForDT(CADListVal<ZRBPropertyReference*>& references) const;
  // For a document saved under a new name: the file record of `oldPath`
  // gives its properties to `newPath` and the reference records that named
  // `oldPath` now name `newPath`.
  void SetPropForSaveAs(const CADUnicodeString& oldPath, const CADUnicodeString& newPath);

  // --- black boxes and archives (paths are full file paths)
  void AddBlackBoxRoot(const CADUnicodeString& parentPartNumber, const CADUnicodeString& rootFullPath);
  void AddBlackBoxItem(const CADUnicodeString& parentPartNumber, const CADUnicodeString& itemFullPath);
  int IsBlackBoxRoot(const CADUnicodeString& parentPartNumber, const CADUnicodeString& fullPath) const;
  int IsBlackBoxItem(const CADUnicodeString& parentPartNumber, const CADUnicodeString& fullPath) const;
  // 1 when any record lists `fullPath` as a black-box item.
  int IsBlackBoxItem(const CADUnicodeString& fullPath) const;
  int HasBlackBoxAttached(const CADUnicodeString& partNumber) const;
  CADListValCADUnicodeString GetBlackBoxRoots(const CADUnicodeString& partNumber) const;
  CADListValCADUnicodeString GetBlackBoxItems(const CADUnicodeString& partNumber) const;
  void RemoveAllBlackBoxRoots(const CADUnicodeString& partNumber);
  void RemoveAllBlackBoxItems(const CADUnicodeString& partNumber);
  // A black-box file was renamed: every list naming `oldPath` names `newPath`.
  void BlackBoxContentChanged(const CADUnicodeString& oldPath, const CADUnicodeString& newPath);
  // A black-box file is gone: no list names it any more.
  void BlackBoxContentRemoved(const CADUnicodeString& fullPath);
  // 1 when a file record names `fullPath` as its packed archive ("ZRB_ARCHIVE_FILE").
  int IsArchiveFileNameSet(const CADUnicodeString& fullPath) const;

  // --- persistence
  // Writes the data file (through a temporary file and a rename); 1 or 0.
  int Write(const CADUnicodeString& dataPath, const CADUnicodeString& dtdPath);
  int WriteDTD(const CADUnicodeString& dtdPath);
  // Drops all records and reads the file; 0 when the file is missing or
  // damaged (what precedes the damage stays). The running process's global
  // values are kept: a file never chooses the PDM command line.
  int Read(const CADUnicodeString& dataPath);
  // The same for a document held in memory (tools, fuzzing).
  int ReadText(std::string_view xml);
  // The data file's text, naming the DTD `dtdFileName`.
  std::string WriteText(const CADUnicodeString& dtdFileName) const;
  // The same in the temporary directory, named after the user.
  int WritePropertiesToTmp();
  int ReadPropertiesFromTmp();
  // Drops every record (not the global values, not the counters).
  void Initialize();
  // All records on the debug trace.
  void Dump() const;
  static CADUnicodeString EscapeString(const CADUnicodeString& text);

  // --- reading (called by the file's SAX handler); a global record read is
  // only traced: the running process keeps its own
  void AddProperty(std::unique_ptr<ZRBPropertyGlobal> record);
  void AddProperty(std::unique_ptr<ZRBPropertyReference> record);
  void AddProperty(std::unique_ptr<ZRBPropertyFile> record);
  void AddProperty(std::unique_ptr<ZRBPropertyInstance> record);
  void AddProperty(std::unique_ptr<ZRBPropertyPathToRoot> record);
  // The global record of the last file read, as the file holds it (shown
  // by tools; never applied). Null when the file had none.
  const ZRBPropertyGlobal* GetGlobalRecordRead() const { return globalRead_.get(); }
  void SetProcessId(unsigned long processId) {
    EnsureLoaded();
    processId_ = processId;
  }
  unsigned long GetProcessId();

  // --- host settings
  int IsCacheActivationOn();
  // Tests switch cache activation without a settings repository.
  void SetCacheActivationForTests(int on);

  // --- direct access for the integrity check and tools
  const ZRBPropertyManagerStore& Store() const { return store_; }
  const ZRBPropertyManagerNames& ConfiguredNames() const { return names_; }
  const ZRBPropertyGlobal* GlobalRecord() const { return Globals().GetGlobalRecord(); }

 private:
  void EnsureLoaded();
  ZRBPropertyInstance* FindInstance(const CADUnicodeString& parentPartNumber,
                                    const CADUnicodeString& childInstanceName) const;
  ZRBPropertyInstance* FindOrCreateInstance(const CADUnicodeString& parentPartNumber,
                                            const CADUnicodeString& childInstanceName);
  // Runs one parse with the file's handlers; 0 when it failed part-way.
  int ParseWith(const std::function<HRESULT(CADIXMLSAXParser&)>& parse);
  static int TempFilePaths(CADUnicodeString& dataPath, CADUnicodeString& dtdPath);
  // The product's reference record (see the product-addressed operations).
  ZRBPropertyReference* ReferenceFor(const CADIProduct_var& product, bool create);
  // Cache activation on and a host part number that is empty.
  bool IsUnloadedUnderCache(const CADIProduct_var& product);
  ZRBPropertyInstance* InstanceFor(const CADIProduct_var& parent, const CADIProduct_var& child, bool create);
  CADUnicodeString PathToRootOf(const CADIProduct_var& product) const;
  int SetStandardAttribute(const CADIProduct_var& product, ZRBPropertyReference::Field field,
                           const CADUnicodeString& value);
  void WalkForIntegrity(const CADIProduct_var& product, int depth);

  ZRBPropertyManagerStore store_;
  ZRBPropertyManagerNames names_;
  unsigned long processId_ = 0;
  int cacheActivation_ = 0;
  bool loaded_ = false;
  std::unique_ptr<ZRBPropertyGlobal> globalRead_;
  std::vector<IntegrityStep> startSteps_;
  std::vector<IntegrityStep> keepSteps_;
};

extern ZRBPropertyManager GlobPropertyManager;
