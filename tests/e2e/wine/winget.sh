#!/usr/bin/env bash
# The winget manifests that scripts/package-windows.sh writes beside the MSI
# (winget/): a version, a fr-FR default locale and an installer manifest,
# YAML that parses, each of one ManifestVersion named by its schema line;
# all for Veltrane.VLicEnr at VERSION; the default locale's publisher and
# name those of the MSI, with a licence and a short description within
# winget's lengths; the installer a per-machine wix installer at a
# versioned https address, with the MSI's SHA-256, ProductCode, UpgradeCode
# and version.
# Run as: bash winget.sh <bin dir of the Windows build> <source dir>
. "$(dirname "$0")/../lib.sh"
e2e_init "$@"
W=$E2E_WORK
VLIC_PACKAGE_NO_BUILD=1 VLIC_WINDOWS_BUILD_DIR=$(dirname "$E2E_BIN") VLIC_DIST_DIR=$W \
    "$E2E_SRC/scripts/package-windows.sh" >"$W/package.log" 2>&1 || e2e_fail "package-windows.sh failed: $(tail -n 3 "$W/package.log")"
msi=$W/VLicEnr-x64.msi
msiinfo export "$msi" Property | tr -d '\r' >"$W/property.txt"
problems=$(python3 - "$W/winget" "$(head -n 1 "$E2E_SRC/VERSION")" "$msi" "$W/property.txt" <<'PY'
import hashlib, os, re, sys
import yaml
folder, version, msi, properties = sys.argv[1:]
prop = dict(line.split("\t", 1) for line in open(properties, encoding="utf-8").read().splitlines()[3:])
kinds = {"Veltrane.VLicEnr.yaml": "version", "Veltrane.VLicEnr.locale.fr-FR.yaml": "defaultLocale",
         "Veltrane.VLicEnr.installer.yaml": "installer"}
problems = []
def check(ok, what):
    if not ok:
        problems.append(what)
check(sorted(os.listdir(folder)) == sorted(kinds), "the files: %s" % sorted(os.listdir(folder)))
m, versions = {}, set()
for name, kind in kinds.items():
    text = open(os.path.join(folder, name), encoding="utf-8").read()
    m[kind] = yaml.safe_load(text)
    schema = re.match(r"# yaml-language-server: \$schema=https://aka\.ms/winget-manifest\.(\w+)\.([0-9.]+)\.schema\.json\n", text)
    check(schema and schema.group(1) == kind, "%s: its schema line" % name)
    check(m[kind]["ManifestType"] == kind, "%s: ManifestType %s" % (name, m[kind]["ManifestType"]))
    versions |= {m[kind]["ManifestVersion"], schema.group(2) if schema else None}
    check(m[kind]["PackageIdentifier"] == "Veltrane.VLicEnr", "%s: PackageIdentifier" % name)
    check(m[kind]["PackageVersion"] == version, "%s: PackageVersion %s" % (name, m[kind]["PackageVersion"]))
check(len(versions) == 1 and re.fullmatch(r"1\.[0-9]+\.0", str(next(iter(versions)))), "one ManifestVersion: %s" % versions)

locale = m["defaultLocale"]
check(m["version"]["DefaultLocale"] == "fr-FR" == locale["PackageLocale"], "the default locale fr-FR")
check(locale["Publisher"] == prop["Manufacturer"], "Publisher %s" % locale["Publisher"])
check(locale["PackageName"] == prop["ProductName"], "PackageName %s" % locale["PackageName"])
for field, low, high in (("License", 3, 512), ("ShortDescription", 3, 256)):
    check(low <= len(locale.get(field) or "") <= high, "%s within %d to %d characters" % (field, low, high))

installer = m["installer"]
entry = installer["Installers"][0]
get = lambda field: entry.get(field, installer.get(field))
check(len(installer["Installers"]) == 1 and entry["Architecture"] == "x64", "one x64 installer")
check(get("InstallerType") in ("wix", "msi") and get("Scope") == "machine", "a per-machine MSI installer")
check(re.fullmatch(r"https://www\.veltrane\.fr/.*/%s/VLicEnr-x64\.msi" % re.escape(version), entry["InstallerUrl"]),
      "a versioned https InstallerUrl on the maker's site: %s" % entry["InstallerUrl"])
check(entry["InstallerSha256"] == hashlib.sha256(open(msi, "rb").read()).hexdigest().upper(), "InstallerSha256: the MSI's")
check(get("ProductCode") == prop["ProductCode"], "ProductCode: the MSI's")
apps = get("AppsAndFeaturesEntries") or [{}]
check(apps[0].get("ProductCode") == prop["ProductCode"] and apps[0].get("UpgradeCode") == prop["UpgradeCode"],
      "AppsAndFeaturesEntries: the MSI's ProductCode and UpgradeCode")
check(apps[0].get("DisplayVersion") == prop["ProductVersion"], "AppsAndFeaturesEntries: the MSI's version")
print("\n".join(problems))
PY
) || e2e_fail "the manifests cannot be read: $problems"
e2e_expect_eq "" "$problems" "the winget manifests"
e2e_done
