#pragma once
#include <stdexcept>
#include <string>

namespace kv {

// Errors of the framework: the handler that raised one is abandoned, the program goes on.
class EFrameworkError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ESpriteError : public EFrameworkError { using EFrameworkError::EFrameworkError; };
class EListError : public EFrameworkError { using EFrameworkError::EFrameworkError; };
class EPictureCollectionError : public EFrameworkError { using EFrameworkError::EFrameworkError; };
class EWaveCollectionError : public EFrameworkError { using EFrameworkError::EFrameworkError; };
class EStreamError : public EFrameworkError { using EFrameworkError::EFrameworkError; };
class EFOpenError : public EFrameworkError { using EFrameworkError::EFrameworkError; };
class EConvertError : public EFrameworkError { using EFrameworkError::EFrameworkError; };
class EMCIDeviceError : public EFrameworkError { using EFrameworkError::EFrameworkError; };

// "リストのインデックスが範囲を超えています (%d)"
std::string ListIndexMessage(long index);

}  // namespace kv
