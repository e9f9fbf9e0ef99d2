// The owner's triggers and functions over documents and attachments.
#include "registry/ServerRecords.h"

namespace velmora {

namespace {

// {S} is the schema as an identifier and {S_T} as a literal, {P} the
// prefix as a literal, {OWNER_T} the owner role as a literal, and the
// history's actions literals. Every SECURITY DEFINER function looks names
// up in pg_catalog first, then the schema, where no login may create
// anything, and pg_temp last (which is never searched for functions or
// operators).
const char* const script = R"sql(
-- The login of the session's role: its name without the prefix.
CREATE OR REPLACE FUNCTION {S}.velmora_login() RETURNS text LANGUAGE sql STABLE
  SET search_path = pg_catalog, {S}, pg_temp AS $f$
  SELECT CASE WHEN starts_with(session_user::text, {P} || '.')
              THEN substr(session_user::text, length({P}) + 2) ELSE session_user::text END
$f$;

CREATE OR REPLACE FUNCTION {S}.velmora_user_group() RETURNS int LANGUAGE sql STABLE SECURITY DEFINER
  SET search_path = pg_catalog, {S}, pg_temp AS $f$
  SELECT "UserGroupID" FROM {S}."UserTable" WHERE "UserLogin" = {S}.velmora_login() LIMIT 1
$f$;

-- The history's hash chain, in the byte form the program's verify
-- recomputes: each value as its length in bytes, ":" and the bytes, "-"
-- for none; a row's place, key, document, registry number, action, time
-- and login, the count of its change rows, then the change rows (column,
-- shown and stored values) in the byte order of their forms.
-- Both are called only by velmora_chain, under its search path, and
-- without a path of their own the server inlines them.
CREATE OR REPLACE FUNCTION {S}.velmora_chain_field(value text) RETURNS bytea LANGUAGE sql IMMUTABLE AS $f$
  SELECT CASE WHEN value IS NULL THEN convert_to('-', 'UTF8')
              ELSE convert_to(octet_length(value)::text || ':' || value, 'UTF8') END
$f$;

CREATE OR REPLACE FUNCTION {S}.velmora_chain_input(place bigint, id bigint) RETURNS bytea LANGUAGE sql STABLE AS $f$
  SELECT {S}.velmora_chain_field(place::text) || {S}.velmora_chain_field(h."HistoryID"::text)
      || {S}.velmora_chain_field(h."DocumentID"::text) || {S}.velmora_chain_field(h."RegistryNumber")
      || {S}.velmora_chain_field(h."Action")
      || {S}.velmora_chain_field(to_char(h."ChangedAt", 'YYYY-MM-DD HH24:MI:SS'))
      || {S}.velmora_chain_field(h."UserLogin")
      || {S}.velmora_chain_field((SELECT count(*) FROM {S}."DocumentChange" c WHERE c."HistoryID" = id)::text)
      || coalesce((SELECT string_agg(e, ''::bytea ORDER BY e) FROM (
           SELECT {S}.velmora_chain_field(c."ColumnName") || {S}.velmora_chain_field(c."OldValue")
               || {S}.velmora_chain_field(c."NewValue") || {S}.velmora_chain_field(c."OldStored")
               || {S}.velmora_chain_field(c."NewStored") AS e
           FROM {S}."DocumentChange" c WHERE c."HistoryID" = id) x), ''::bytea)
  FROM {S}."DocumentHistory" h WHERE h."HistoryID" = id
$f$;

-- Chains a history row. The head's row lock is held until the
-- transaction ends, so the rows of transactions saving at once are
-- chained one after the other, in the order they reach here.
CREATE OR REPLACE FUNCTION {S}.velmora_chain(id bigint) RETURNS void
  LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, {S}, pg_temp AS $f$
DECLARE
  head_no bigint;
  head_hash text;
  digest text;
BEGIN
  SELECT "HeadNo", "HeadHash" INTO head_no, head_hash FROM {S}."HistoryChain" WHERE "ChainID" = 1 FOR UPDATE;
  IF NOT FOUND THEN RETURN; END IF;
  digest := encode(sha256(decode(head_hash, 'hex') || {S}.velmora_chain_input(head_no + 1, id)), 'hex');
  UPDATE {S}."DocumentHistory" SET "ChainNo" = head_no + 1, "ChainHash" = digest WHERE "HistoryID" = id;
  UPDATE {S}."HistoryChain" SET "HeadNo" = head_no + 1, "HeadHash" = digest WHERE "ChainID" = 1;
END $f$;

-- Every history row is chained as its transaction commits: the head is
-- locked only from then to the commit's end, so a long import holds no
-- clerk's save up. Its change rows are written before it (see below), so
-- a session that makes the trigger fire at once chains the same content.
CREATE OR REPLACE FUNCTION {S}.velmora_chain_written() RETURNS trigger
  LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, {S}, pg_temp AS $f$
BEGIN
  PERFORM {S}.velmora_chain(NEW."HistoryID");
  RETURN NULL;
END $f$;
DROP TRIGGER IF EXISTS "VelmoraChain" ON {S}."DocumentHistory";
CREATE CONSTRAINT TRIGGER "VelmoraChain" AFTER INSERT ON {S}."DocumentHistory" DEFERRABLE INITIALLY DEFERRED
  FOR EACH ROW EXECUTE FUNCTION {S}.velmora_chain_written();

-- One history row and its change rows, [[column, old shown, new shown,
-- old stored, new stored], ...], by the session's login at the server's
-- time. Only the owner's own functions call it.
CREATE OR REPLACE FUNCTION {S}.velmora_write_history(document bigint, action text, changes jsonb) RETURNS bigint
  LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, {S}, pg_temp AS $f$
DECLARE
  login text := {S}.velmora_login();
  given bigint;
  -- The registry number as it is now: the numbered columns' values.
  registry text := (SELECT string_agg(to_jsonb(d)->>n."ColumnName", ', ' ORDER BY n."ColumnName")
                    FROM {S}."Document" d, {S}."DocumentNumbering" n WHERE d."DocumentID" = document);
BEGIN
  given := nextval(pg_get_serial_sequence(format('%I.%I', {S_T}, 'DocumentHistory'), 'HistoryID'));
  INSERT INTO {S}."DocumentChange" ("HistoryID", "ColumnName", "OldValue", "NewValue", "OldStored", "NewStored")
    SELECT given, c->>0, c->>1, c->>2, c->>3, c->>4 FROM jsonb_array_elements(changes) AS c;
  INSERT INTO {S}."DocumentHistory" ("HistoryID", "DocumentID", "UserID", "ChangedAt", "Action", "UserLogin",
                                     "RegistryNumber")
    VALUES (given, document, coalesce((SELECT "UserID" FROM {S}."UserTable" WHERE "UserLogin" = login LIMIT 1), 0),
            localtimestamp(0), action, login, registry);
  RETURN given;
END $f$;
DROP FUNCTION IF EXISTS {S}.velmora_history(bigint, text, text);

-- A document's key is the sequence's; a voided document stays as it was.
CREATE OR REPLACE FUNCTION {S}.velmora_document_guard() RETURNS trigger
  LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, {S}, pg_temp AS $f$
DECLARE
  given bigint;
BEGIN
  IF TG_OP = 'INSERT' THEN
    -- The owner (and a superuser) may restore rows with their keys.
    IF pg_has_role(session_user, {OWNER_T}, 'MEMBER') THEN RETURN NEW; END IF;
    BEGIN
      given := currval(pg_get_serial_sequence(format('%I.%I', TG_TABLE_SCHEMA, TG_TABLE_NAME), 'DocumentID'));
    EXCEPTION WHEN object_not_in_prerequisite_state THEN
      given := NULL;
    END;
    IF given IS DISTINCT FROM NEW."DocumentID" THEN
      RAISE EXCEPTION USING ERRCODE = 'insufficient_privilege',
        MESSAGE = 'A dokumentum azonosítóját az adatbázis adja, kézzel nem adható meg.';
    END IF;
    RETURN NEW;
  END IF;
  IF NEW."DocumentID" IS DISTINCT FROM OLD."DocumentID" THEN
    RAISE EXCEPTION USING ERRCODE = 'insufficient_privilege',
      MESSAGE = 'A dokumentum azonosítója nem módosítható.';
  END IF;
  IF EXISTS (SELECT 1 FROM {S}."DocumentVoid" WHERE "DocumentID" = OLD."DocumentID") THEN
    RAISE EXCEPTION USING ERRCODE = 'insufficient_privilege',
      MESSAGE = 'Érvénytelenített dokumentum nem módosítható: ' || OLD."DocumentID" || '.';
  END IF;
  RETURN NEW;
END $f$;

-- What the program showed of the values it writes, for the history:
-- velmora.shown holds {"column": [old, new], ...} for the transaction's
-- next written row, velmora.action an import's action. The stored values
-- are recorded beside them whatever the program says.
CREATE OR REPLACE FUNCTION {S}.velmora_document_record() RETURNS trigger
  LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, {S}, pg_temp AS $f$
DECLARE
  shown jsonb := coalesce(nullif(current_setting('velmora.shown', true), '')::jsonb, '{}');
  action text := CASE WHEN TG_OP = 'UPDATE' THEN {UPDATE}
                      WHEN current_setting('velmora.action', true) = {IMPORT} THEN {IMPORT}
                      ELSE {INSERT} END;
  before jsonb := CASE WHEN TG_OP = 'UPDATE' THEN to_jsonb(OLD) ELSE '{}' END;
  after jsonb := to_jsonb(NEW);
  changes jsonb;
BEGIN
  SELECT coalesce(jsonb_agg(jsonb_build_array(a.attname,
           CASE WHEN shown ? a.attname THEN shown->a.attname->>0 ELSE before->>a.attname END,
           CASE WHEN shown ? a.attname THEN shown->a.attname->>1 ELSE after->>a.attname END,
           before->>a.attname, after->>a.attname) ORDER BY a.attnum), '[]')
    INTO changes
    FROM pg_attribute a
    WHERE a.attrelid = TG_RELID AND a.attnum > 0 AND NOT a.attisdropped AND a.attname <> 'DocumentID'
      AND (before->>a.attname) IS DISTINCT FROM (after->>a.attname);
  PERFORM set_config('velmora.shown', '', true);
  IF TG_OP = 'UPDATE' AND jsonb_array_length(changes) = 0 THEN RETURN NULL; END IF;
  PERFORM {S}.velmora_write_history(NEW."DocumentID", action, changes);
  RETURN NULL;
END $f$;

DROP TRIGGER IF EXISTS "VelmoraGuard" ON {S}."Document";
DROP TRIGGER IF EXISTS "VelmoraRecord" ON {S}."Document";
CREATE TRIGGER "VelmoraGuard" BEFORE INSERT OR UPDATE ON {S}."Document"
  FOR EACH ROW EXECUTE FUNCTION {S}.velmora_document_guard();
CREATE TRIGGER "VelmoraRecord" AFTER INSERT OR UPDATE ON {S}."Document"
  FOR EACH ROW EXECUTE FUNCTION {S}.velmora_document_record();

-- A document's void: its history row, the reason as its one change, and
-- the void itself, which the unique key lets stand once.
CREATE OR REPLACE FUNCTION {S}.velmora_void(document bigint, reason text) RETURNS bigint
  LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, {S}, pg_temp AS $f$
DECLARE
  given bigint;
  why text := regexp_replace(coalesce(reason, ''), '^\s+|\s+$', '', 'g');
BEGIN
  IF why = '' THEN RAISE EXCEPTION 'A void needs its reason'; END IF;
  IF NOT EXISTS (SELECT 1 FROM {S}."Document" WHERE "DocumentID" = document) THEN
    RAISE EXCEPTION 'There is no document %', document;
  END IF;
  given := {S}.velmora_write_history(document, {VOID}, jsonb_build_array(jsonb_build_array('', NULL, why, NULL, why)));
  INSERT INTO {S}."DocumentVoid" ("DocumentID", "HistoryID", "Reason") VALUES (document, given, why);
  RETURN given;
END $f$;

-- An attachment is begun by a login, filled with chunks by that login
-- alone, then finished: its size and SHA-256 are the stored chunks'.
CREATE OR REPLACE FUNCTION {S}.velmora_attachment_guard() RETURNS trigger
  LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, {S}, pg_temp AS $f$
DECLARE
  login text := {S}.velmora_login();
  stored_size bigint;
  stored_sum text;
BEGIN
  -- The owner (and a superuser) may mend what a restore brought back.
  IF TG_OP <> 'INSERT' AND pg_has_role(session_user, {OWNER_T}, 'MEMBER') THEN
    RETURN CASE WHEN TG_OP = 'DELETE' THEN OLD ELSE NEW END;
  END IF;
  IF TG_OP = 'DELETE' THEN
    IF OLD."RemovedAt" IS NULL AND OLD."Sha256" <> '' THEN
      RAISE EXCEPTION USING ERRCODE = 'insufficient_privilege',
        MESSAGE = 'Csak törölt mellékletet lehet véglegesen törölni: ' || OLD."FileName";
    END IF;
    RETURN OLD;
  END IF;
  IF TG_OP = 'INSERT' THEN
    IF NOT EXISTS (SELECT 1 FROM {S}."Document" WHERE "DocumentID" = NEW."DocumentID") THEN
      RAISE EXCEPTION 'There is no document %', NEW."DocumentID";
    END IF;
    IF EXISTS (SELECT 1 FROM {S}."DocumentVoid" WHERE "DocumentID" = NEW."DocumentID") THEN
      RAISE EXCEPTION USING ERRCODE = 'insufficient_privilege',
        MESSAGE = 'Érvénytelenített dokumentumhoz nem csatolható fájl: ' || NEW."DocumentID" || '.';
    END IF;
    NEW."AddedBy" := login;
    NEW."AddedAt" := localtimestamp(0);
    NEW."FileSize" := 0;
    NEW."Sha256" := '';
    NEW."RemovedBy" := NULL;
    NEW."RemovedAt" := NULL;
    RETURN NEW;
  END IF;
  IF (NEW."AttachmentID", NEW."DocumentID", NEW."FileName", NEW."ContentType", NEW."AddedBy", NEW."AddedAt")
     IS DISTINCT FROM (OLD."AttachmentID", OLD."DocumentID", OLD."FileName", OLD."ContentType", OLD."AddedBy",
                       OLD."AddedAt") THEN
    RAISE EXCEPTION USING ERRCODE = 'insufficient_privilege', MESSAGE = 'Egy melléklet adatai nem módosíthatók.';
  END IF;
  IF OLD."Sha256" = '' THEN
    IF OLD."AddedBy" IS DISTINCT FROM login OR NEW."RemovedAt" IS NOT NULL OR NEW."RemovedBy" IS NOT NULL THEN
      RAISE EXCEPTION USING ERRCODE = 'insufficient_privilege',
        MESSAGE = 'A mellékletet csak az fejezheti be, aki elkezdte.';
    END IF;
    SELECT coalesce(sum(octet_length("Bytes")), 0),
           encode(sha256(coalesce(string_agg("Bytes", ''::bytea ORDER BY "ChunkNo"), ''::bytea)), 'hex')
      INTO stored_size, stored_sum FROM {S}."DocumentAttachmentChunk" WHERE "AttachmentID" = OLD."AttachmentID";
    IF NEW."FileSize" IS DISTINCT FROM stored_size OR lower(NEW."Sha256") IS DISTINCT FROM stored_sum THEN
      RAISE EXCEPTION 'A melléklet tartalma nem egyezik az ellenőrzőösszegével: %', OLD."FileName";
    END IF;
    NEW."FileSize" := stored_size;
    NEW."Sha256" := stored_sum;
    RETURN NEW;
  END IF;
  IF (NEW."FileSize", NEW."Sha256") IS DISTINCT FROM (OLD."FileSize", OLD."Sha256")
     OR OLD."RemovedAt" IS NOT NULL THEN
    RAISE EXCEPTION USING ERRCODE = 'insufficient_privilege', MESSAGE = 'Egy melléklet adatai nem módosíthatók.';
  END IF;
  IF NEW."RemovedAt" IS NOT NULL OR NEW."RemovedBy" IS NOT NULL THEN
    IF OLD."AddedBy" IS DISTINCT FROM login THEN
      RAISE EXCEPTION USING ERRCODE = 'insufficient_privilege',
        MESSAGE = 'A mellékletet csak az törölheti, aki csatolta (' || OLD."AddedBy" || '): ' || OLD."FileName";
    END IF;
    NEW."RemovedBy" := login;
    NEW."RemovedAt" := localtimestamp(0);
  END IF;
  RETURN NEW;
END $f$;

CREATE OR REPLACE FUNCTION {S}.velmora_attachment_record() RETURNS trigger
  LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, {S}, pg_temp AS $f$
DECLARE
  what text;
BEGIN
  what := OLD."FileName" || ' (SHA-256 ' || coalesce(NEW."Sha256", OLD."Sha256") || ')';
  IF TG_OP = 'DELETE' THEN
    IF OLD."Sha256" <> '' THEN
      PERFORM {S}.velmora_write_history(OLD."DocumentID", {PURGE},
                                        jsonb_build_array(jsonb_build_array('', what, NULL, what, NULL)));
    END IF;
  ELSIF OLD."Sha256" = '' AND NEW."Sha256" <> '' THEN
    PERFORM {S}.velmora_write_history(NEW."DocumentID", {ATTACH},
                                      jsonb_build_array(jsonb_build_array('', NULL, what, NULL, what)));
  ELSIF OLD."RemovedAt" IS NULL AND NEW."RemovedAt" IS NOT NULL THEN
    PERFORM {S}.velmora_write_history(NEW."DocumentID", {DETACH},
                                      jsonb_build_array(jsonb_build_array('', what, NULL, what, NULL)));
  END IF;
  RETURN NULL;
END $f$;

CREATE OR REPLACE FUNCTION {S}.velmora_chunk_guard() RETURNS trigger
  LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, {S}, pg_temp AS $f$
BEGIN
  IF TG_OP = 'INSERT' THEN
    IF NOT EXISTS (SELECT 1 FROM {S}."DocumentAttachment" WHERE "AttachmentID" = NEW."AttachmentID"
                   AND "Sha256" = '' AND "AddedBy" = {S}.velmora_login()) THEN
      RAISE EXCEPTION USING ERRCODE = 'insufficient_privilege',
        MESSAGE = 'Csak a saját, még be nem fejezett mellékletébe írhat: ' || NEW."AttachmentID";
    END IF;
    RETURN NEW;
  END IF;
  IF TG_OP = 'DELETE' THEN
    IF EXISTS (SELECT 1 FROM {S}."DocumentAttachment" WHERE "AttachmentID" = OLD."AttachmentID"
               AND "RemovedAt" IS NULL AND "Sha256" <> '') THEN
      RAISE EXCEPTION USING ERRCODE = 'insufficient_privilege',
        MESSAGE = 'Csak törölt melléklet tartalmát lehet véglegesen törölni: ' || OLD."AttachmentID";
    END IF;
    RETURN OLD;
  END IF;
  -- The owner (and a superuser) may mend or damage a stored chunk, as a
  -- restore might; nobody else.
  IF pg_has_role(session_user, {OWNER_T}, 'MEMBER') THEN RETURN NEW; END IF;
  RAISE EXCEPTION USING ERRCODE = 'insufficient_privilege', MESSAGE = 'Egy melléklet tartalma nem módosítható.';
END $f$;

DROP TRIGGER IF EXISTS "VelmoraGuard" ON {S}."DocumentAttachment";
DROP TRIGGER IF EXISTS "VelmoraRecord" ON {S}."DocumentAttachment";
DROP TRIGGER IF EXISTS "VelmoraGuard" ON {S}."DocumentAttachmentChunk";
CREATE TRIGGER "VelmoraGuard" BEFORE INSERT OR UPDATE OR DELETE ON {S}."DocumentAttachment"
  FOR EACH ROW EXECUTE FUNCTION {S}.velmora_attachment_guard();
CREATE TRIGGER "VelmoraRecord" AFTER UPDATE OR DELETE ON {S}."DocumentAttachment"
  FOR EACH ROW EXECUTE FUNCTION {S}.velmora_attachment_record();
CREATE TRIGGER "VelmoraGuard" BEFORE INSERT OR UPDATE OR DELETE ON {S}."DocumentAttachmentChunk"
  FOR EACH ROW EXECUTE FUNCTION {S}.velmora_chunk_guard();

-- The text read from an attached file, written by the program that read
-- it: recorded as that login's reading. A text read whole by one login is
-- kept from the others; the owner (velmora-admin) may read it again.
CREATE OR REPLACE FUNCTION {S}.velmora_attachment_text(attachment bigint, state text, reason text, engine text,
    languages text, pages bigint, content text, folded text) RETURNS bigint
  LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, {S}, pg_temp AS $f$
DECLARE
  reader text := {S}.velmora_login();
  earlier record;
BEGIN
  IF state IS NULL OR state NOT IN ('waiting', 'done', 'failed', 'unreadable') THEN
    RAISE EXCEPTION 'A text cannot be in state %', coalesce(quote_literal(state), 'NULL');
  END IF;
  IF pages IS NULL OR pages < 0 THEN RAISE EXCEPTION 'A text cannot have % pages', pages; END IF;
  IF NOT EXISTS (SELECT 1 FROM {S}."DocumentAttachment" a JOIN {S}."Document" d ON d."DocumentID" = a."DocumentID"
                 WHERE a."AttachmentID" = attachment AND a."RemovedAt" IS NULL AND a."Sha256" <> '') THEN
    RAISE EXCEPTION 'There is no attachment %', attachment;
  END IF;
  SELECT "State", "ReadBy" INTO earlier FROM {S}."AttachmentText" WHERE "AttachmentID" = attachment FOR UPDATE;
  IF FOUND AND earlier."State" = 'done' AND earlier."ReadBy" IS DISTINCT FROM reader
     AND NOT pg_has_role(session_user, {OWNER_T}, 'MEMBER') THEN
    RAISE EXCEPTION USING ERRCODE = 'insufficient_privilege',
      MESSAGE = 'A melléklet szövegét már más olvasta be: ' || earlier."ReadBy";
  END IF;
  INSERT INTO {S}."AttachmentText" ("AttachmentID", "State", "Reason", "Engine", "Languages", "Pages", "Content",
      "Folded", "ReadBy", "ReadAt")
    VALUES (attachment, state, reason, engine, languages, pages, content, folded, reader, localtimestamp(0))
    ON CONFLICT ("AttachmentID") DO UPDATE SET "State" = EXCLUDED."State", "Reason" = EXCLUDED."Reason",
      "Engine" = EXCLUDED."Engine", "Languages" = EXCLUDED."Languages", "Pages" = EXCLUDED."Pages",
      "Content" = EXCLUDED."Content", "Folded" = EXCLUDED."Folded", "ReadBy" = EXCLUDED."ReadBy",
      "ReadAt" = EXCLUDED."ReadAt";
  RETURN attachment;
END $f$;

-- A design's new field: a column of Document, its name as the designer
-- takes a field's name, its type one a field may have.
CREATE OR REPLACE FUNCTION {S}.velmora_add_column(name text, type text) RETURNS void
  LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, {S}, pg_temp AS $f$
BEGIN
  IF name IS NULL OR name = '' OR octet_length(name) > 63 OR name ~ '[]''":\x01-\x1f\x7f]' THEN
    RAISE EXCEPTION 'A field''s column cannot be named %', coalesce(quote_literal(name), 'NULL');
  END IF;
  IF type IS NULL OR type NOT IN ('int', 'varchar(50)', 'timestamp', '"binary"') THEN
    RAISE EXCEPTION 'A field''s column cannot be of type %', coalesce(quote_literal(type), 'NULL');
  END IF;
  -- Names are one whatever their case; the lock holds a second designer
  -- adding the same name until this one's save ends.
  LOCK TABLE {S}."Document" IN SHARE ROW EXCLUSIVE MODE;
  IF EXISTS (SELECT 1 FROM pg_attribute WHERE attrelid = to_regclass(format('%I."Document"', {S_T})) AND attnum > 0
             AND NOT attisdropped AND lower(attname) = lower(name)) THEN
    RAISE EXCEPTION USING ERRCODE = 'duplicate_column',
      MESSAGE = format('column "%s" of relation "Document" already exists', name);
  END IF;
  EXECUTE format('ALTER TABLE %I."Document" ADD %I %s', {S_T}, name, type);
END $f$;
)sql";

}  // namespace

const char* serverRecordsScript()
{
    return script;
}

}  // namespace velmora
