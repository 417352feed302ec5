#!/bin/sh
# The winget manifests of one version (winget's multi-file manifest, schema 1.10.0): the version
# manifest, the default locale's and the installers' with both installers, their SHA-256 taken
# from the files as built and their addresses under BASE.
# Usage: winget-manifests.sh OUT_DIR VERSION SETUP.exe MSI PRODUCT_CODE UPGRADE_CODE BASE
set -eu
out=$1 version=$2 setup=$3 msi=$4 product_code=$5 upgrade_code=$6 base=${7%/}
id=Ansgrove.Quorvale
publisher=Ansgrove
home=https://quorvale.example/
sha256() { sha256sum "$1" | cut -d' ' -f1 | tr a-f A-F; }
header() {
    echo "# Made by scripts/windows.sh from Quorvale $version as built."
    echo "# yaml-language-server: \$schema=https://aka.ms/winget-manifest.$1.1.10.0.schema.json"
    echo
}

rm -rf "$out"
mkdir -p "$out"
{
    header version
    cat <<EOF
PackageIdentifier: $id
PackageVersion: $version
DefaultLocale: en-US
ManifestType: version
ManifestVersion: 1.10.0
EOF
} >"$out/$id.yaml"

{
    header defaultLocale
    cat <<EOF
PackageIdentifier: $id
PackageVersion: $version
PackageLocale: en-US
Publisher: $publisher
PackageName: Quorvale
PackageUrl: $home
License: MIT
ShortDescription: Converts text to hexadecimal character codes and back, as you type.
Moniker: quorvale
Tags:
  - ascii
  - hex
  - converter
ManifestType: defaultLocale
ManifestVersion: 1.10.0
EOF
} >"$out/$id.locale.en-US.yaml"

# Both install for the current user without administrator rights; each replaces an earlier
# installation of its own kind. The NSIS installer's status 2 means that Quorvale is running
# (nothing changed); Windows Installer's statuses are winget's own knowledge.
{
    header installer
    cat <<EOF
PackageIdentifier: $id
PackageVersion: $version
MinimumOSVersion: 10.0.0.0
UpgradeBehavior: install
Installers:
  - Architecture: x64
    InstallerType: nullsoft
    Scope: user
    InstallerUrl: $base/$(basename "$setup")
    InstallerSha256: $(sha256 "$setup")
    ExpectedReturnCodes:
      - InstallerReturnCode: 2
        ReturnResponse: packageInUse
    AppsAndFeaturesEntries:
      - DisplayName: Quorvale
        Publisher: $publisher
        DisplayVersion: $version
  - Architecture: x64
    InstallerType: msi
    Scope: user
    InstallerUrl: $base/$(basename "$msi")
    InstallerSha256: $(sha256 "$msi")
    ProductCode: '$product_code'
    AppsAndFeaturesEntries:
      - DisplayName: Quorvale
        Publisher: $publisher
        DisplayVersion: $version
        ProductCode: '$product_code'
        UpgradeCode: '$upgrade_code'
ManifestType: installer
ManifestVersion: 1.10.0
EOF
} >"$out/$id.installer.yaml"
