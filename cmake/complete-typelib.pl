#!/usr/bin/perl
# Writes into a type library from widl what its IDL states but widl cannot
# express:
#  - the help string of an enumeration member, given in the IDL as a comment
#    `// helpstring("...")` after the member (widl refuses attributes there);
#  - parameters declared OLE_COLOR: widl resolves the alias to its base type,
#    unsigned 32-bit, while form designers offer a colour picker only for the
#    OLE_COLOR alias of the imported stdole2 library. The parameter becomes a
#    reference to that alias; slots, dispatch ids and sizes stay as they are.
# Everything else stays byte for byte as widl wrote it: the file is read into
# its parts (header, segments, member data of each type) and written back in
# the same order, only the tables that grow, the offsets behind them and the
# changed records differ. A file with nothing to complete is left untouched.
# The type library format (MSFT) is the same for 32-bit and 64-bit libraries.
# Usage: complete-typelib.pl <file.idl> <file.tlb>
use strict;
use warnings;

my ($idl_file, $tlb_file) = @ARGV;
die "usage: complete-typelib.pl <file.idl> <file.tlb>\n" unless defined $tlb_file;

open(my $idl, '<', $idl_file) or die "$idl_file: $!";
my $source = do { local $/; <$idl> };
close($idl);

my @member_help = member_help_strings($source);
my @colour_parameters = colour_parameters($source);
exit 0 unless @member_help || @colour_parameters;

open(my $in, '<:raw', $tlb_file) or die "$tlb_file: $!";
my $original = do { local $/; <$in> };
close($in);

my $lib = read_typelib($original);
write_typelib($lib) eq $original
    or die "$tlb_file: the type library does not read back as written; its layout is not the expected one\n";

add_member_help_strings($lib, \@member_help) if @member_help;
refer_to_ole_color($lib, \@colour_parameters) if @colour_parameters;

open(my $out, '>:raw', $tlb_file) or die "$tlb_file: $!";
print $out write_typelib($lib);
close($out);
exit 0;

# --- What the IDL asks for -------------------------------------------------

# [enumeration, [[member, help string], ...]] for each enumeration with helpstring comments.
sub member_help_strings {
    my ($text) = @_;
    my @helps;
    while ($text =~ /\benum\s+(\w+)\s*\{(.*?)\}/gs) {
        my ($enumeration, $body) = ($1, $2);
        my @members;
        while ($body =~ /^\s*(\w+)\s*(?:=[^,\/\n]*)?,?\s*\/\/\s*helpstring\("((?:[^"\\]|\\.)*)"\)/mg) {
            my ($member, $help) = ($1, $2);
            $help =~ s/\\(.)/$1/g;
            push @members, [$member, $help];
        }
        push @helps, [$enumeration, \@members] if @members;
    }
    return @helps;
}

# [interface, method, invoke kind, parameter index, is pointer] for each OLE_COLOR parameter.
sub colour_parameters {
    my ($text) = @_;
    my @found;
    while ($text =~ /\binterface\s+(\w+)\s*:\s*\w+\s*\{(.*?)\n\s*\}\s*;/gs) {
        my ($interface, $body) = ($1, $2);
        while ($body =~ /\[([^\]]*)\]\s*HRESULT\s+(\w+)\s*\(([^;]*?)\)\s*;/gs) {
            my ($attributes, $method, $parameters) = ($1, $2, $3);
            my $kind = $attributes =~ /\bpropget\b/ ? 2
                     : $attributes =~ /\bpropputref\b/ ? 8
                     : $attributes =~ /\bpropput\b/ ? 4 : 1;
            $parameters =~ s/\[[^\]]*\]//g;
            my @parameters = split(/,/, $parameters);
            for my $index (0 .. $#parameters) {
                next unless $parameters[$index] =~ /^\s*OLE_COLOR\s*(\*?)\s*\w+\s*$/;
                push @found, [$interface, $method, $kind, $index, $1 ? 1 : 0];
            }
        }
    }
    return @found;
}

# --- Reading and writing the file ------------------------------------------

use constant {
    SEGMENT_TYPEINFO => 0, SEGMENT_IMPORT_INFO => 1, SEGMENT_IMPORT_FILES => 2,
    SEGMENT_GUID_HASH => 4, SEGMENT_GUID => 5, SEGMENT_NAME => 7, SEGMENT_STRING => 8,
    SEGMENT_TYPE_DESCRIPTION => 9, SEGMENT_COUNT => 15,
    HEADER_SIZE => 0x54, TYPEINFO_SIZE => 0x64,
    TKIND_ENUM => 0, TKIND_INTERFACE => 3, TKIND_DISPATCH => 4, TKIND_ALIAS => 6,
    VT_UI4 => 0x13, VT_PTR => 0x1a, VT_USERDEFINED => 0x1d,
    IMPORT_BY_GUID => 0x10000,
};

sub int_at { return unpack('l<', substr($_[0], $_[1], 4)); }
sub set_int { substr($_[0], $_[1], 4) = pack('V', $_[2]); }

# The parts of the file: header (with the optional help-string DLL field and the
# type offsets), segment directory, segments in file order, member data per type.
sub read_typelib {
    my ($data) = @_;
    die "$tlb_file: not an MSFT type library\n" unless substr($data, 0, 4) eq 'MSFT';
    my $types = int_at($data, 0x20);
    my $head_size = HEADER_SIZE + ((int_at($data, 0x14) & 0x100) ? 4 : 0) + 4 * $types;
    my %lib = (head => substr($data, 0, $head_size), types => $types, segments => [], order => []);
    my @placed;
    for my $index (0 .. SEGMENT_COUNT - 1) {
        my ($offset, $length, @rest) = unpack('l<4', substr($data, $head_size + 16 * $index, 16));
        $lib{directory}[$index] = [$offset, @rest];
        $lib{segments}[$index] = $offset < 0 ? '' : substr($data, $offset, $length);
        push @placed, [$offset, $index] if $offset >= 0;
    }
    $lib{order} = [map { $_->[1] } sort { $a->[0] <=> $b->[0] } @placed];
    my $end = $head_size + 16 * SEGMENT_COUNT;
    $end += length($lib{segments}[$_]) for @{$lib{order}};
    # Member data follows the segments, one block per type in type order.
    my @starts = map { member_offset(\%lib, $_) } 0 .. $types - 1;
    push @starts, length($data);
    $starts[0] == $end or die "$tlb_file: member data does not follow the segments\n" if $types;
    for my $type (0 .. $types - 1) {
        $starts[$type + 1] >= $starts[$type] or die "$tlb_file: member data out of type order\n";
        $lib{members}[$type] = substr($data, $starts[$type], $starts[$type + 1] - $starts[$type]);
    }
    return \%lib;
}

sub write_typelib {
    my ($lib) = @_;
    my $position = length($lib->{head}) + 16 * SEGMENT_COUNT;
    my @directory = map { [@$_] } @{$lib->{directory}};
    for my $index (@{$lib->{order}}) {
        $directory[$index][0] = $position;
        $position += length($lib->{segments}[$index]);
    }
    for my $type (0 .. $lib->{types} - 1) {
        set_int($lib->{segments}[SEGMENT_TYPEINFO], TYPEINFO_SIZE * $type + 4, $position);
        $position += length($lib->{members}[$type]);
    }
    my $data = $lib->{head};
    for my $index (0 .. SEGMENT_COUNT - 1) {
        my ($offset, @rest) = @{$directory[$index]};
        $data .= pack('l<4', $offset, length($lib->{segments}[$index]), @rest);
    }
    $data .= $lib->{segments}[$_] for @{$lib->{order}};
    $data .= $_ for @{$lib->{members}};
    return $data;
}

sub member_offset { return int_at($_[0]{segments}[SEGMENT_TYPEINFO], TYPEINFO_SIZE * $_[1] + 4); }
sub type_field { return int_at($_[0]{segments}[SEGMENT_TYPEINFO], TYPEINFO_SIZE * $_[1] + $_[2]); }
sub type_kind { return type_field(@_[0, 1], 0) & 0xf; }

sub name_at {
    my ($lib, $offset) = @_;
    my $names = $lib->{segments}[SEGMENT_NAME];
    return substr($names, $offset + 12, int_at($names, $offset + 8) & 0xff);
}

sub type_name { return name_at($_[0], type_field(@_[0, 1], 0x34)); }

sub find_type {
    my ($lib, $name, @kinds) = @_;
    for my $type (0 .. $lib->{types} - 1) {
        next unless grep { $_ == type_kind($lib, $type) } @kinds;
        return $type if type_name($lib, $type) eq $name;
    }
    die "$tlb_file: no type $name\n";
}

# Records of a type's member block: ([record bytes...], [member ids], [name offsets]).
sub member_records {
    my ($lib, $type) = @_;
    my $block = $lib->{members}[$type];
    my $elements = type_field($lib, $type, 0x18);
    my $count = ($elements & 0xffff) + (($elements >> 16) & 0xffff);
    my $size = int_at($block, 0);
    my @ids = unpack("l<$count", substr($block, 4 + $size, 4 * $count));
    my @names = unpack("l<$count", substr($block, 4 + $size + 4 * $count, 4 * $count));
    my @offsets = unpack("l<$count", substr($block, 4 + $size + 8 * $count, 4 * $count));
    my @records = map { substr($block, 4 + $_, int_at($block, 4 + $_) & 0xffff) } @offsets;
    return (\@records, \@ids, \@names);
}

sub set_member_records {
    my ($lib, $type, $records, $ids, $names) = @_;
    my (@offsets, $body);
    $body = '';
    for my $record (@$records) {
        push @offsets, length($body);
        $body .= $record;
    }
    my $count = @$records;
    $lib->{members}[$type] = pack('l<', length($body)) . $body
        . pack("l<$count", @$ids) . pack("l<$count", @$names) . pack("l<$count", @offsets);
}

# Offset of `text` in the string table, added as widl adds strings when new.
sub string_offset {
    my ($lib, $text) = @_;
    my $strings = \$lib->{segments}[SEGMENT_STRING];
    my $encoded = pack('v', length($text)) . $text;
    $encoded .= 'W' x 4 if length($text) < 3;
    $encoded .= 'W' x ((4 - length($encoded) % 4) % 4);
    for (my $offset = 0; $offset < length($$strings);) {
        my $length = unpack('v', substr($$strings, $offset, 2));
        return $offset if substr($$strings, $offset, 2 + $length) eq substr($encoded, 0, 2 + $length)
                          && $length == length($text);
        $offset += $length < 3 ? 8 : ($length + 5) & ~3;
    }
    my $offset = length($$strings);
    $$strings .= $encoded;
    return $offset;
}

# Offset of the type description (first, second) in its table, added when new.
sub type_description_offset {
    my ($lib, @entry) = @_;
    my $table = \$lib->{segments}[SEGMENT_TYPE_DESCRIPTION];
    my $wanted = pack('l<2', @entry);
    for (my $offset = 0; $offset < length($$table); $offset += 8) {
        return $offset if substr($$table, $offset, 8) eq $wanted;
    }
    my $offset = length($$table);
    $$table .= $wanted;
    return $offset;
}

# Offset of `guid` (16 bytes) in the GUID table, added to the table and its hash
# chain when new, with `reference` as its type reference.
sub guid_offset {
    my ($lib, $guid, $reference) = @_;
    my $table = \$lib->{segments}[SEGMENT_GUID];
    for (my $offset = 0; $offset < length($$table); $offset += 24) {
        return $offset if substr($$table, $offset, 16) eq $guid;
    }
    my $hash = 0;
    $hash ^= $_ for unpack('s<8', $guid);
    $hash &= 0x1f;
    my $offset = length($$table);
    my $chain = int_at($lib->{segments}[SEGMENT_GUID_HASH], 4 * $hash);
    $$table .= $guid . pack('l<2', $reference, $chain);
    set_int($lib->{segments}[SEGMENT_GUID_HASH], 4 * $hash, $offset);
    return $offset;
}

sub guid_bytes {
    my @parts = split(/-/, $_[0]);
    return pack('V', hex($parts[0])) . pack('v', hex($parts[1])) . pack('v', hex($parts[2]))
         . pack('H4', $parts[3]) . pack('H12', $parts[4]);
}

# --- The completions -------------------------------------------------------

# A variable record without help context and help string takes both; its size
# in the first field grows from 0x14 to 0x1c.
sub add_member_help_strings {
    my ($lib, $helps) = @_;
    for my $entry (@$helps) {
        my ($enumeration, $members) = @$entry;
        my $type = find_type($lib, $enumeration, TKIND_ENUM);
        my ($records, $ids, $names) = member_records($lib, $type);
        my %by_name = map { name_at($lib, $names->[$_]) => $_ } 0 .. $#$names;
        for my $member_help (@$members) {
            my ($member, $help) = @$member_help;
            my $index = $by_name{$member};
            die "$tlb_file: no member $member in $enumeration\n" unless defined $index;
            my $record = \$records->[$index];
            die "$tlb_file: $enumeration.$member has optional fields already\n" unless length($$record) == 0x14;
            $$record .= pack('l<2', 0, string_offset($lib, $help));
            set_int($$record, 0, (int_at($$record, 0) & ~0xffff) | length($$record));
        }
        set_member_records($lib, $type, $records, $ids, $names);
    }
}

# OLE_COLOR of stdole2 is imported by its GUID, as an alias; a parameter of
# type unsigned 32-bit (or a pointer to one) becomes a reference to it.
sub refer_to_ole_color {
    my ($lib, $parameters) = @_;
    my $stdole = guid_bytes('00020430-0000-0000-C000-000000000046');
    my $ole_color = guid_bytes('66504301-BE0F-101A-8BBB-00AA00300CAB');

    my $files = $lib->{segments}[SEGMENT_IMPORT_FILES];
    my $file;
    for (my $offset = 0; $offset < length($files);) {
        my $guid = substr($lib->{segments}[SEGMENT_GUID], int_at($files, $offset), 16);
        $file = $offset, last if $guid eq $stdole;
        my $name_length = unpack('v', substr($files, $offset + 12, 2)) >> 2;
        $offset += (14 + $name_length + 3) & ~3;
    }
    die "$tlb_file: stdole2 is not imported\n" unless defined $file;

    my $imports = \$lib->{segments}[SEGMENT_IMPORT_INFO];
    my $count = int_at($lib->{head}, 0x50);
    my $reference = length($$imports) | 1;
    my $guid = guid_offset($lib, $ole_color, $reference);
    $$imports .= pack('l<3', (TKIND_ALIAS << 24) | IMPORT_BY_GUID | $count, $file, $guid);
    set_int($lib->{head}, 0x50, $count + 1);

    my $alias = type_description_offset($lib, (0x7fff << 16) | VT_USERDEFINED, $reference);
    my $pointer = type_description_offset($lib, (0x7fff << 16) | VT_PTR, $alias);
    my $plain = (1 << 31) | (VT_UI4 << 16) | VT_UI4;
    my $plain_pointer = pack('V2', (0x4000 << 16) | (VT_UI4 << 16) | VT_PTR, $plain);

    my %changed;
    for my $parameter (@$parameters) {
        my ($interface, $method, $kind, $index, $is_pointer) = @$parameter;
        my $type = find_type($lib, $interface, TKIND_INTERFACE, TKIND_DISPATCH);
        my ($records, $ids, $names) = $changed{$type} ? @{$changed{$type}} : member_records($lib, $type);
        my $found = 0;
        for my $function (0 .. $#$records) {
            my $record = \$records->[$function];
            next unless name_at($lib, $names->[$function]) eq $method;
            next unless ((int_at($$record, 16) >> 3) & 0xf) == $kind;
            my $arguments = unpack('s<', substr($$record, 20, 2));
            my $at = length($$record) - 12 * ($arguments - $index);
            my $current = int_at($$record, $at);
            my $plain_type = $is_pointer
                ? $current >= 0 && substr($lib->{segments}[SEGMENT_TYPE_DESCRIPTION], $current, 8) eq $plain_pointer
                : ($current & 0xffffffff) == $plain;
            die "$tlb_file: $interface.$method parameter $index is not unsigned 32-bit\n" unless $plain_type;
            set_int($$record, $at, $is_pointer ? $pointer : $alias);
            $found = 1;
        }
        die "$tlb_file: no $interface.$method of kind $kind\n" unless $found;
        $changed{$type} = [$records, $ids, $names];
    }
    set_member_records($lib, $_, @{$changed{$_}}) for keys %changed;
}
