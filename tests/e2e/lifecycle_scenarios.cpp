// The host's lifecycle under Wine (filled in by the lifecycle scenarios).
